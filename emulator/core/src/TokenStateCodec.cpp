#include "qvtoken-core/TokenStateCodec.h"

#include "qvtoken-core/Errors.h"

#include "FieldReader.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <climits>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace qvtoken {

namespace {

using boost::property_tree::ptree;

bool isUtf8Text(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t follow = 0;
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c >= 0x80) {
            if ((c & 0xE0) == 0xC0 && c >= 0xC2)
                follow = 1;
            else if ((c & 0xF0) == 0xE0)
                follow = 2;
            else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
                follow = 3;
            else
                return false;
        }
        if (follow > 0 && i + follow >= text.size())
            return false;
        for (std::size_t k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += follow + 1;
    }
    return true;
}

// Labels and names are shown as text when they are printable UTF-8; other byte strings a
// token may be given go to "<key>Hex" so the file stays valid JSON.
void putText(ptree& tree, const std::string& key, const std::string& text)
{
    if (isUtf8Text(text))
        tree.put(key, text);
    else
        tree.put(key + "Hex", toHex(bytesOf(text)));
}

void putBytes(ptree& tree, const std::string& key, const Bytes& bytes)
{
    tree.put(key, toHex(bytes));
}

void putOptionalByte(ptree& tree, const std::string& key, const std::optional<unsigned char>& value)
{
    if (value)
        tree.put(key, static_cast<unsigned>(*value));
}

// Attribute types read better in hex, as the module's constants are written.
std::string typeText(unsigned long type)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[type & 0xF]);
        type >>= 4;
    } while (type != 0);
    return "0x" + text;
}

template <typename T, typename Encode>
void putList(ptree& tree, const std::string& key, const std::vector<T>& items, Encode encode)
{
    ptree list;
    for (const auto& item : items)
        list.push_back({"", encode(item)});
    tree.add_child(key, list);
}

ptree encodeVersion(const Version& v)
{
    ptree t;
    t.put("major", v.major);
    t.put("minor", v.minor);
    return t;
}

ptree encodePin(const PinState& pin)
{
    ptree t;
    putBytes(t, "value", pin.value);
    t.put("minLength", pin.minLength);
    t.put("maxLength", pin.maxLength);
    t.put("maxTries", pin.maxTries);
    t.put("triesLeft", pin.triesLeft);
    return t;
}

ptree encodeObject(const FeatureObject& object)
{
    ptree t;
    putList(t, "attributes", object.attributes, [](const Attribute& a) {
        ptree at;
        at.put("type", typeText(a.type));
        putBytes(at, "value", a.value);
        return at;
    });
    return t;
}

ptree encodeBytesList(const std::vector<Bytes>& list)
{
    ptree t;
    for (const auto& b : list) {
        ptree item;
        item.put_value(toHex(b));
        t.push_back({"", item});
    }
    return t;
}

ptree encodeEntry(const DirectoryEntry& entry)
{
    ptree t;
    if (const auto* pin = std::get_if<LocalPin>(&entry)) {
        t.put("kind", "local-pin");
        t.put("id", pin->id);
        t.add_child("pin", encodePin(pin->pin));
        t.put("unset", pin->unset);
        t.put("secureType", static_cast<unsigned>(pin->secureType));
        t.put("securityIndex", static_cast<unsigned>(pin->securityIndex));
        t.put("raw85Head", static_cast<unsigned>(pin->raw85Head));
        putBytes(t, "raw86", pin->raw86);
        t.add_child("history", encodeBytesList(pin->history));
    } else if (const auto* mva = std::get_if<MvaFile>(&entry)) {
        t.put("kind", "mva");
        t.put("id", mva->id);
        t.put("recordSize", mva->recordSize);
        t.put("maxRecords", mva->maxRecords);
        putList(t, "records", mva->records, [](const MvaRecord& r) {
            ptree rt;
            rt.put("status", static_cast<unsigned>(r.status));
            putBytes(rt, "data", r.data);
            return rt;
        });
        t.put("maxTries", mva->maxTries);
        t.put("triesLeft", mva->triesLeft);
        putBytes(t, "raw85", mva->raw85);
        putBytes(t, "raw86", mva->raw86);
    } else {
        const auto& other = std::get<OtherEntry>(entry);
        t.put("kind", "other");
        t.put("id", other.id);
        putBytes(t, "fcp", other.fcp);
    }
    return t;
}

ptree encodeSection(const Section& s)
{
    ptree t;
    t.put("number", s.number);
    t.put("type", s.type);
    t.put("size", s.size);
    t.put("access", s.access);
    t.put("operationMask", static_cast<unsigned>(s.operationMask));
    putBytes(t, "conditions", s.conditions);
    putBytes(t, "secrets", s.secrets);
    if (s.rawOverride)
        putBytes(t, "rawOverride", *s.rawOverride);
    return t;
}

ptree encodeJournalRecord(const JournalRecord& r)
{
    ptree t;
    putText(t, "user", r.user);
    putText(t, "domain", r.domain);
    putText(t, "os", r.os);
    putText(t, "device", r.device);
    t.put("time", r.time);
    putBytes(t, "raw", r.raw);
    return t;
}

ptree encodeDrive(const Drive& d)
{
    ptree t;
    t.put("present", d.present);
    t.put("sizeMb", d.sizeMb);
    putList(t, "sections", d.sections, encodeSection);
    putList(t, "temporaryStates", d.temporaryStates, [](const std::pair<unsigned, unsigned>& s) {
        ptree st;
        st.put("section", s.first);
        st.put("access", s.second);
        return st;
    });
    return t;
}

ptree encodeCard(const CardSettings& c)
{
    ptree t;
    putText(t, "atrMarker", c.atrMarker);
    t.put("protocol", c.protocol);
    if (c.rawAtr)
        putBytes(t, "rawAtr", *c.rawAtr);
    t.put("chunk", c.chunk);
    if (c.extInfo)
        putBytes(t, "extInfo", *c.extInfo);
    else
        t.put("extInfo", "unsupported");
    putList(t, "journal", c.journal, encodeJournalRecord);
    t.put("journalCap", c.journalCap);
    t.put("plugGeneration", c.plugGeneration);
    t.put("awayMs", c.awayMs);
    t.put("plugged", c.plugged);
    return t;
}

ptree encodeModuleFault(const ModuleFault& f)
{
    ptree t;
    t.put("entry", f.entry);
    t.put("rv", typeText(f.rv));
    t.put("skip", f.skip);
    t.put("times", f.times);
    return t;
}

ptree encodeCardFault(const CardFault& f)
{
    ptree t;
    putOptionalByte(t, "claMask", f.claMask);
    putOptionalByte(t, "cla", f.cla);
    putOptionalByte(t, "ins", f.ins);
    putOptionalByte(t, "p1", f.p1);
    putOptionalByte(t, "p2", f.p2);
    putBytes(t, "dataPrefix", f.dataPrefix);
    putOptionalByte(t, "control", f.control);
    t.put("nth", f.nth);
    t.put("seen", f.seen);
    t.put("afterReplug", f.afterReplug);
    t.put("count", f.count);
    t.put("action", f.action);
    t.put("argument", f.argument);
    return t;
}

ptree encodeSwitches(const ModuleSwitches& s)
{
    ptree t;
    t.put("listedNotPresent", s.listedNotPresent);
    t.put("duplicateSlotId", s.duplicateSlotId);
    t.put("noTlsQuery", s.noTlsQuery);
    t.put("unblockResetsLocalPins", s.unblockResetsLocalPins);
    t.put("enforcePinExpired", s.enforcePinExpired);
    t.put("enforcePolicyModifiable", s.enforcePolicyModifiable);
    putList(t, "refusedTemporaryModes", s.refusedTemporaryModes, [](unsigned long mode) {
        ptree m;
        m.put_value(mode);
        return m;
    });
    return t;
}

ptree encode(const TokenState& s)
{
    ptree t;
    t.put("serial", s.serial);
    t.put("slotId", s.slotId);
    putText(t, "slotDescription", s.slotDescription);
    t.put("tls", s.tls);
    t.add_child("hardwareVersion", encodeVersion(s.hardwareVersion));
    t.add_child("firmwareVersion", encodeVersion(s.firmwareVersion));
    t.put("tokenClass", s.tokenClass);
    t.put("featureNumber", s.featureNumber);
    putText(t, "label", s.label);
    putText(t, "defaultLabel", s.defaultLabel);
    t.add_child("adminPin", encodePin(s.adminPin));
    t.add_child("userPin", encodePin(s.userPin));
    t.put("pinChangeFlags", s.pinChangeFlags);
    t.put("userPinToBeChanged", s.userPinToBeChanged);
    t.add_child("userPinHistory", encodeBytesList(s.userPinHistory));
    t.put("totalMemory", s.totalMemory);
    t.put("freeMemory", s.freeMemory);
    t.add_child("drive", encodeDrive(s.drive));
    putList(t, "directory", s.directory, encodeEntry);
    putList(t, "objects", s.objects, encodeObject);
    t.add_child("card", encodeCard(s.card));
    putList(t, "moduleFaults", s.moduleFaults, encodeModuleFault);
    t.add_child("switches", encodeSwitches(s.switches));
    putList(t, "cardFaults", s.cardFaults, encodeCardFault);
    return t;
}

// ---- reading: every field required, in its range ----

constexpr unsigned long long ulongMax = ULONG_MAX;
constexpr unsigned long long u32Max = 0xFFFFFFFF;
constexpr unsigned long long byteMax = 0xFF;
constexpr unsigned long long fileIdMax = 0xFFFF;

unsigned long parseType(const FieldReader& r, const std::string& key)
{
    const std::string text = r.word(key);
    if (text.size() < 3 || text.compare(0, 2, "0x") != 0 || text.size() > 18 ||
        text.find_first_not_of("0123456789abcdefABCDEF", 2) != std::string::npos)
        r.fail(key, "not a hex number: \"" + text + "\"");
    return std::stoul(text, nullptr, 16);
}

unsigned accessState(const FieldReader& r, const std::string& key)
{
    const auto value = static_cast<unsigned>(r.number(key, byteMax));
    if (value != 0 && value != 1 && value != 3 && value != 5)
        r.fail(key, "not an access state 0, 1, 3 or 5");
    return value;
}

std::optional<unsigned char> optionalByte(const FieldReader& r, const std::string& key)
{
    if (!r.has(key))
        return std::nullopt;
    return static_cast<unsigned char>(r.number(key, byteMax));
}

Version decodeVersion(const FieldReader& r)
{
    return {static_cast<unsigned>(r.number("major", byteMax)), static_cast<unsigned>(r.number("minor", byteMax))};
}

PinState decodePin(const FieldReader& r)
{
    PinState pin;
    pin.value = r.bytes("value");
    pin.maxLength = r.number("maxLength", byteMax);
    pin.minLength = r.number("minLength", pin.maxLength);
    pin.maxTries = r.number("maxTries", byteMax, 1);
    pin.triesLeft = r.number("triesLeft", pin.maxTries);
    return pin;
}

FeatureObject decodeObject(const FieldReader& r)
{
    FeatureObject object;
    object.attributes = r.list<Attribute>("attributes", [](const FieldReader& a) {
        return Attribute{parseType(a, "type"), a.bytes("value")};
    });
    return object;
}

std::vector<Bytes> decodeBytesList(const FieldReader& r, const std::string& key)
{
    return r.list<Bytes>(key, [](const FieldReader& item) { return item.bytesValue(); });
}

DirectoryEntry decodeEntry(const FieldReader& r)
{
    const auto kind = r.word("kind");
    const auto id = static_cast<unsigned long>(r.number("id", fileIdMax));
    if (kind == "local-pin") {
        LocalPin pin;
        pin.id = id;
        pin.pin = decodePin(r.child("pin"));
        pin.unset = r.flag("unset");
        pin.secureType = static_cast<unsigned char>(r.number("secureType", byteMax));
        pin.securityIndex = static_cast<unsigned char>(r.number("securityIndex", byteMax));
        pin.raw85Head = static_cast<unsigned char>(r.number("raw85Head", byteMax));
        pin.raw86 = r.bytes("raw86");
        pin.history = decodeBytesList(r, "history");
        return pin;
    }
    if (kind == "mva") {
        MvaFile mva;
        mva.id = id;
        mva.recordSize = r.number("recordSize", byteMax);
        mva.maxRecords = r.number("maxRecords", byteMax);
        mva.records = r.list<MvaRecord>("records", [](const FieldReader& record) {
            return MvaRecord{static_cast<unsigned char>(record.number("status", byteMax)), record.bytes("data")};
        });
        mva.maxTries = r.number("maxTries", byteMax);
        mva.triesLeft = r.number("triesLeft", mva.maxTries);
        mva.raw85 = r.bytes("raw85");
        mva.raw86 = r.bytes("raw86");
        return mva;
    }
    if (kind == "other")
        return OtherEntry{id, r.bytes("fcp")};
    r.fail("kind", "not local-pin, mva or other: \"" + kind + "\"");
}

Section decodeSection(const FieldReader& r)
{
    Section s;
    s.number = static_cast<unsigned>(r.number("number", byteMax, 1));
    s.type = static_cast<unsigned>(r.number("type", 3));
    s.size = r.number("size", u32Max);
    s.access = accessState(r, "access");
    s.operationMask = static_cast<unsigned char>(r.number("operationMask", byteMax));
    s.conditions = r.bytes("conditions", 6);
    s.secrets = r.bytes("secrets", 6);
    if (r.has("rawOverride"))
        s.rawOverride = r.bytes("rawOverride");
    return s;
}

JournalRecord decodeJournalRecord(const FieldReader& r)
{
    JournalRecord record;
    record.user = r.text("user");
    record.domain = r.text("domain");
    record.os = r.text("os");
    record.device = r.text("device");
    record.time = r.signedNumber("time", LLONG_MIN, LLONG_MAX);
    record.raw = r.bytes("raw");
    return record;
}

Drive decodeDrive(const FieldReader& r)
{
    Drive d;
    d.present = r.flag("present");
    d.sizeMb = static_cast<std::uint32_t>(r.number("sizeMb", u32Max));
    d.sections = r.list<Section>("sections", decodeSection);
    d.temporaryStates = r.list<std::pair<unsigned, unsigned>>("temporaryStates", [](const FieldReader& st) {
        return std::make_pair(static_cast<unsigned>(st.number("section", byteMax, 1)), accessState(st, "access"));
    });
    return d;
}

CardSettings decodeCard(const FieldReader& r)
{
    CardSettings c;
    c.atrMarker = r.text("atrMarker");
    c.protocol = r.word("protocol");
    if (c.protocol != "t0" && c.protocol != "t1")
        r.fail("protocol", "not t0 or t1: \"" + c.protocol + "\"");
    if (r.has("rawAtr"))
        c.rawAtr = r.bytes("rawAtr");
    c.chunk = r.number("chunk", ulongMax);
    c.extInfo = r.word("extInfo") == "unsupported" ? std::nullopt : std::optional<Bytes>(r.bytes("extInfo"));
    c.journal = r.list<JournalRecord>("journal", decodeJournalRecord);
    c.journalCap = r.number("journalCap", ulongMax);
    c.plugGeneration = r.number("plugGeneration", ulongMax);
    c.awayMs = r.number("awayMs", ulongMax);
    c.plugged = r.flag("plugged");
    return c;
}

ModuleFault decodeModuleFault(const FieldReader& r)
{
    ModuleFault f;
    f.entry = r.word("entry");
    f.rv = parseType(r, "rv");
    f.skip = r.number("skip", ulongMax);
    f.times = r.signedNumber("times", LONG_MIN, LONG_MAX);
    return f;
}

CardFault decodeCardFault(const FieldReader& r)
{
    CardFault f;
    f.claMask = optionalByte(r, "claMask");
    f.cla = optionalByte(r, "cla");
    f.ins = optionalByte(r, "ins");
    f.p1 = optionalByte(r, "p1");
    f.p2 = optionalByte(r, "p2");
    f.dataPrefix = r.bytes("dataPrefix");
    f.control = optionalByte(r, "control");
    f.nth = r.number("nth", ulongMax);
    f.seen = r.number("seen", ulongMax);
    f.afterReplug = r.flag("afterReplug");
    f.count = r.signedNumber("count", LONG_MIN, LONG_MAX);
    f.action = r.word("action");
    f.argument = r.word("argument");
    return f;
}

ModuleSwitches decodeSwitches(const FieldReader& r)
{
    ModuleSwitches s;
    s.listedNotPresent = r.flag("listedNotPresent");
    s.duplicateSlotId = r.flag("duplicateSlotId");
    s.noTlsQuery = r.flag("noTlsQuery");
    s.unblockResetsLocalPins = r.flag("unblockResetsLocalPins");
    s.enforcePinExpired = r.flag("enforcePinExpired");
    s.enforcePolicyModifiable = r.flag("enforcePolicyModifiable");
    s.refusedTemporaryModes =
        r.list<unsigned long>("refusedTemporaryModes", [](const FieldReader& m) { return m.numberValue(ulongMax); });
    return s;
}

TokenState decode(const FieldReader& r)
{
    // Files of the earlier form kept the module's volumes apart from the card's sections.
    if (r.has("volumes") || r.has("hasDrive"))
        r.fail("volumes", "a file of the earlier form, with volumes apart from the card's sections; create the "
                          "token again");
    TokenState s;
    s.serial = r.number("serial");
    s.slotId = r.number("slotId", ulongMax);
    s.slotDescription = r.text("slotDescription");
    s.tls = r.flag("tls");
    s.hardwareVersion = decodeVersion(r.child("hardwareVersion"));
    s.firmwareVersion = decodeVersion(r.child("firmwareVersion"));
    s.tokenClass = r.number("tokenClass", ulongMax);
    s.featureNumber = r.number("featureNumber", ulongMax);
    s.label = r.text("label");
    s.defaultLabel = r.text("defaultLabel");
    s.adminPin = decodePin(r.child("adminPin"));
    s.userPin = decodePin(r.child("userPin"));
    s.pinChangeFlags = r.number("pinChangeFlags", 3);
    s.userPinToBeChanged = r.flag("userPinToBeChanged");
    s.userPinHistory = decodeBytesList(r, "userPinHistory");
    s.totalMemory = r.number("totalMemory", ulongMax);
    s.freeMemory = r.number("freeMemory", s.totalMemory);
    s.drive = decodeDrive(r.child("drive"));
    s.directory = r.list<DirectoryEntry>("directory", decodeEntry);
    s.objects = r.list<FeatureObject>("objects", decodeObject);
    s.card = decodeCard(r.child("card"));
    s.moduleFaults = r.list<ModuleFault>("moduleFaults", decodeModuleFault);
    s.switches = decodeSwitches(r.child("switches"));
    s.cardFaults = r.list<CardFault>("cardFaults", decodeCardFault);
    return s;
}

} // namespace

TokenState readTokenState(std::istream& in, const std::string& origin)
{
    try {
        ptree tree;
        boost::property_tree::read_json(in, tree);
        return decode(FieldReader(tree, ""));
    } catch (const std::exception& e) {
        throw StateFormatError(origin + ": " + e.what());
    }
}

void writeTokenState(std::ostream& out, const TokenState& state)
{
    boost::property_tree::write_json(out, encode(state), true);
}

} // namespace qvtoken
