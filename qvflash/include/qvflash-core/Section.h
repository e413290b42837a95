#pragma once

#include <qvflash-core/SecurAttr.h>

#include <cstdint>
#include <map>

namespace qvfl {

// One section of a token's flash memory.
struct Section {
    // The card's access values.
    enum class AccessState : std::uint8_t {
        Hidden = 0,
        ReadOnly = 1,
        ReadWrite = 3,
        CdRom = 5,
    };

    // Types 1 and 2 are the journal sections; the library creates and writes
    // only type 1.
    enum class Type : std::int32_t {
        UserFiles = 0,
        JournalEvents = 1,
        SecondJournal = 2,
        Encrypted = 3,
    };

    // Bit i stands for operation i; the card decides which operation a
    // requested change is, except that operation 2 is the temporary switch to
    // read-only.
    enum class SwitchAccessOperations : std::uint8_t {
        Op1 = 1,
        TemporaryReadOnly = 2,
        Op4 = 4,
        Op8 = 8,
        Op16 = 16,
        Op32 = 32,
    };
    static constexpr unsigned kOperationCount = 6;

    static SwitchAccessOperations operationAt(unsigned index)
    {
        return static_cast<SwitchAccessOperations>(1U << index);
    }

    bool isJournal() const { return type == Type::JournalEvents || type == Type::SecondJournal; }

    std::uint32_t size = 0;
    AccessState accessState = AccessState::Hidden;
    std::map<SwitchAccessOperations, SecurAttr> conditions;
    Type type = Type::UserFiles;
};

bool operator==(const Section& left, const Section& right);

// Sections by their number, ascending.
using SectionMap = std::map<std::uint8_t, Section>;

} // namespace qvfl
