#pragma once

#include "qvtoken-core/Bytes.h"
#include "qvtoken-core/PinState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qvtoken {

// Everything one virtual token holds, for both roads to it: the PKCS#11 stand-in module and
// the virtual card on pcscd. One instance is one state file; both sides change it only through
// TokenStore::modify, so each sees the other's changes.

struct Version {
    unsigned major = 0;
    unsigned minor = 0;
};

struct Attribute {
    unsigned long type = 0;
    Bytes value;
};

// A hardware-feature object of the module: a plain list of attributes, so fixtures can hold
// missing, duplicated or wrongly sized attributes.
struct FeatureObject {
    std::vector<Attribute> attributes;

    const Attribute* find(unsigned long type) const;
    Attribute* find(unsigned long type);
};

// A local-PIN file of the local-login directory (card descriptor 10).
struct LocalPin {
    unsigned long id = 0;
    PinState pin;
    // Created by the card but not yet given a value.
    bool unset = false;
    unsigned char secureType = 0x01;
    unsigned char securityIndex = 0x00;
    unsigned char raw85Head = 0x21;
    Bytes raw86;
    // Earlier values, newest first, for an optional history check.
    std::vector<Bytes> history;
};

struct MvaRecord {
    // 01 used, 03 empty.
    unsigned char status = 0x01;
    Bytes data;
};

// A host-bound authentication file of the local-login directory (card descriptor 14).
struct MvaFile {
    unsigned long id = 0;
    unsigned long recordSize = 0;
    unsigned long maxRecords = 0;
    std::vector<MvaRecord> records;
    unsigned long maxTries = 10;
    unsigned long triesLeft = 10;
    Bytes raw85;
    Bytes raw86;
};

// Any other file of the directory, answered with its raw FCP (fault scenes only).
struct OtherEntry {
    unsigned long id = 0;
    Bytes fcp;
};

using DirectoryEntry = std::variant<LocalPin, MvaFile, OtherEntry>;

// The ids local PINs and host-bound authentication files may take in the directory.
constexpr unsigned long firstLocalId = 3;
constexpr unsigned long lastLocalId = 31;

unsigned long entryId(const DirectoryEntry& entry);

// A section of the token's flash drive, as the card reports and changes it; the module shows
// the same section as a volume.
struct Section {
    unsigned number = 0;
    // 0 user files, 1 event journal, 2 second journal kind, 3 encrypted.
    unsigned type = 0;
    unsigned long size = 0;
    // Permanent access state: 0, 1, 3 or 5.
    unsigned access = 3;
    unsigned char operationMask = 0;
    Bytes conditions = Bytes(6, 0);
    Bytes secrets = Bytes(6, 0);
    // When set, the card answers these 22 bytes instead of the encoded section.
    std::optional<Bytes> rawOverride;
};

struct JournalRecord {
    std::string user;
    std::string domain;
    std::string os;
    std::string device;
    std::int64_t time = 0;
    Bytes raw;
};

// The token's one flash drive, read and written by the card's section commands and by the
// module's volume entries alike.
struct Drive {
    // Whether the token has a drive at all (the module's drive flag).
    bool present = false;
    // Total flash in section units, which are megabytes.
    std::uint32_t sizeMb = 0;
    std::vector<Section> sections;
    // Temporary access state per section number; cleared when the token is plugged in again.
    std::vector<std::pair<unsigned, unsigned>> temporaryStates;

    Section* findSection(unsigned number);
    // The access state a section shows now: its temporary state when one is set, else its own.
    unsigned currentAccess(const Section& section) const;
    // Sets a section's access state, for good or until the next plug-in.
    void setAccess(Section& section, unsigned state, bool temporary);
    // Puts `userSections` (numbered from 1) in place of the user-file sections; journals and
    // other kinds stay, numbered after them. Temporary states end.
    void replaceUserSections(std::vector<Section> userSections);
};

struct CardSettings {
    // Historical-bytes marker of the ATR: QuorvikZRNsc, QvSC, "Quorvik VL ", "Quorvik ZRN", QuorvikVLBT.
    std::string atrMarker = "QuorvikZRNsc";
    // t1, t0
    std::string protocol = "t1";
    // When set, sent instead of the ATR built from marker and protocol.
    std::optional<Bytes> rawAtr;
    // Largest answer announced per 61xx; 0 means no limit below the buffer.
    unsigned long chunk = 0;
    // Answer of GET EXTENDED TOKEN INFO; empty optional means "instruction not supported".
    std::optional<Bytes> extInfo = Bytes{0x40, 0x05, 0x04, 0x03, 0x00, 0x00, 0x05};
    std::vector<JournalRecord> journal;
    // Oldest records are dropped beyond this many; 0 keeps all.
    unsigned long journalCap = 0;
    // Counts plug-ins, so the card process notices a replug made by someone else.
    unsigned long plugGeneration = 0;
    bool plugged = false;
    // How long the card stays off the bus when the token restarts (RESET TOKEN), in ms.
    unsigned long awayMs = 1500;
};

// A chosen return value for a chosen module entry: the entry's calls in a process are
// numbered from when a rule for it is first seen; after `skip` of them the rule answers `rv`
// instead of running the entry, `times` times (persisted, so "once" holds across runs;
// negative = always).
struct ModuleFault {
    std::string entry;
    unsigned long rv = 0;
    unsigned long skip = 0;
    long times = 1;
};

// A fault rule of the virtual card. Matching and actions are interpreted by the card; the
// store only keeps them.
struct CardFault {
    std::optional<unsigned char> claMask;
    std::optional<unsigned char> cla;
    std::optional<unsigned char> ins;
    std::optional<unsigned char> p1;
    std::optional<unsigned char> p2;
    Bytes dataPrefix;
    // A vpcd control byte (power off, power on, reset, ATR request) instead of an APDU.
    std::optional<unsigned char> control;
    // 0 every match, n the n-th match.
    unsigned long nth = 0;
    bool afterReplug = false;
    // Remaining firings; negative = unlimited.
    long count = 1;
    // reply, sw, 6C, 61-chunk, close, delay, hold, no-replug, replug-serial
    std::string action;
    std::string argument;
    // Matches counted so far, so "the n-th match" holds across card processes.
    unsigned long seen = 0;
};

// Per-token behaviour switches of the module.
struct ModuleSwitches {
    // Listed by C_GetSlotList, but its slot info lacks the token-present flag.
    bool listedNotPresent = false;
    // Its slot id appears twice in the slot list.
    bool duplicateSlotId = false;
    // Slot operation 0x82 answers "function not supported".
    bool noTlsQuery = false;
    // Unblocking the user PIN also resets the local PINs' counters.
    bool unblockResetsLocalPins = false;
    // A user PIN marked "to be changed" makes user operations fail with PIN_EXPIRED.
    bool enforcePinExpired = false;
    // A PIN-policy object whose CKA_MODIFIABLE is false refuses further writes.
    bool enforcePolicyModifiable = false;
    // Access modes a temporary volume change may not set.
    std::vector<unsigned long> refusedTemporaryModes;
};

struct TokenState {
    std::uint64_t serial = 0;

    // Slot
    unsigned long slotId = 0;
    std::string slotDescription;
    bool tls = false;

    // Identity
    Version hardwareVersion;
    Version firmwareVersion;
    unsigned long tokenClass = 1;
    unsigned long featureNumber = 0;

    std::string label;
    std::string defaultLabel;

    // PINs: admin (global reference 01 on the card) and user (02).
    PinState adminPin;
    PinState userPin;
    // Bit 0x1 the admin may change the user PIN, bit 0x2 the user may.
    unsigned long pinChangeFlags = 2;
    bool userPinToBeChanged = false;
    std::vector<Bytes> userPinHistory;

    unsigned long totalMemory = 65536;
    unsigned long freeMemory = 43008;

    Drive drive;

    // Local-login directory, in card order.
    std::vector<DirectoryEntry> directory;

    std::vector<FeatureObject> objects;

    CardSettings card;

    std::vector<ModuleFault> moduleFaults;
    ModuleSwitches switches;
    std::vector<CardFault> cardFaults;

    LocalPin* findLocalPin(unsigned long id);
    const LocalPin* findLocalPin(unsigned long id) const;
    MvaFile* findMva(unsigned long id);
    // Clears everything that lasts only until the token is unplugged, and counts the plug-in.
    void replug();
};

} // namespace qvtoken
