#include "qvtoken-core/TokenStateCodec.h"

#include "qvtoken-core/Errors.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <istream>
#include <ostream>
#include <stdexcept>

namespace qvtoken {

namespace {

using boost::property_tree::ptree;

// A field whose value breaks the token's own rules; reported with the file it came from.
class BadField : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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

std::string getText(const ptree& tree, const std::string& key, const std::string& fallback)
{
    if (auto hex = tree.get_optional<std::string>(key + "Hex")) {
        const Bytes bytes = fromHex(*hex);
        return std::string(bytes.begin(), bytes.end());
    }
    return tree.get<std::string>(key, fallback);
}

void putBytes(ptree& tree, const std::string& key, const Bytes& bytes)
{
    tree.put(key, toHex(bytes));
}

Bytes getBytes(const ptree& tree, const std::string& key, const Bytes& fallback)
{
    auto hex = tree.get_optional<std::string>(key);
    return hex ? fromHex(*hex) : fallback;
}

unsigned char getByte(const ptree& tree, const std::string& key, unsigned char fallback)
{
    const auto value = tree.get<unsigned>(key, fallback);
    if (value > 0xFF)
        throw BadField(key);
    return static_cast<unsigned char>(value);
}

std::optional<unsigned char> getOptionalByte(const ptree& tree, const std::string& key)
{
    if (!tree.get_optional<std::string>(key))
        return std::nullopt;
    return getByte(tree, key, 0);
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

unsigned long parseType(const std::string& text)
{
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used, 0);
    if (used != text.size())
        throw BadField("attribute type " + text);
    return value;
}

template <typename T, typename Encode>
void putList(ptree& tree, const std::string& key, const std::vector<T>& items, Encode encode)
{
    ptree list;
    for (const auto& item : items)
        list.push_back({"", encode(item)});
    tree.add_child(key, list);
}

template <typename T, typename Decode>
std::vector<T> getList(const ptree& tree, const std::string& key, Decode decode)
{
    std::vector<T> items;
    if (auto list = tree.get_child_optional(key))
        for (const auto& child : *list)
            items.push_back(decode(child.second));
    return items;
}

ptree encodeVersion(const Version& v)
{
    ptree t;
    t.put("major", v.major);
    t.put("minor", v.minor);
    return t;
}

Version decodeVersion(const ptree& tree, const std::string& key)
{
    Version v;
    if (auto t = tree.get_child_optional(key)) {
        v.major = t->get<unsigned>("major", 0);
        v.minor = t->get<unsigned>("minor", 0);
    }
    return v;
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

PinState decodePin(const ptree& t)
{
    PinState pin;
    pin.value = getBytes(t, "value", {});
    pin.minLength = t.get("minLength", pin.minLength);
    pin.maxLength = t.get("maxLength", pin.maxLength);
    pin.maxTries = t.get("maxTries", pin.maxTries);
    pin.triesLeft = t.get("triesLeft", pin.triesLeft);
    if (pin.triesLeft > pin.maxTries)
        throw BadField("triesLeft above maxTries");
    return pin;
}

PinState decodePin(const ptree& tree, const std::string& key)
{
    auto t = tree.get_child_optional(key);
    return t ? decodePin(*t) : PinState{};
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

FeatureObject decodeObject(const ptree& t)
{
    FeatureObject object;
    object.attributes = getList<Attribute>(t, "attributes", [](const ptree& at) {
        return Attribute{parseType(at.get<std::string>("type")), getBytes(at, "value", {})};
    });
    return object;
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

std::vector<Bytes> decodeBytesList(const ptree& tree, const std::string& key)
{
    return getList<Bytes>(tree, key, [](const ptree& item) { return fromHex(item.get_value<std::string>()); });
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

DirectoryEntry decodeEntry(const ptree& t)
{
    const auto kind = t.get<std::string>("kind");
    if (kind == "local-pin") {
        LocalPin pin;
        pin.id = t.get<unsigned long>("id");
        pin.pin = decodePin(t, "pin");
        pin.unset = t.get("unset", false);
        pin.secureType = getByte(t, "secureType", pin.secureType);
        pin.securityIndex = getByte(t, "securityIndex", pin.securityIndex);
        pin.raw85Head = getByte(t, "raw85Head", pin.raw85Head);
        pin.raw86 = getBytes(t, "raw86", {});
        pin.history = decodeBytesList(t, "history");
        return pin;
    }
    if (kind == "mva") {
        MvaFile mva;
        mva.id = t.get<unsigned long>("id");
        mva.recordSize = t.get<unsigned long>("recordSize");
        mva.maxRecords = t.get<unsigned long>("maxRecords");
        mva.records = getList<MvaRecord>(t, "records", [](const ptree& rt) {
            return MvaRecord{getByte(rt, "status", 0x01), getBytes(rt, "data", {})};
        });
        mva.maxTries = t.get("maxTries", mva.maxTries);
        mva.triesLeft = t.get("triesLeft", mva.triesLeft);
        mva.raw85 = getBytes(t, "raw85", {});
        mva.raw86 = getBytes(t, "raw86", {});
        return mva;
    }
    if (kind == "other")
        return OtherEntry{t.get<unsigned long>("id"), getBytes(t, "fcp", {})};
    throw BadField("directory entry kind " + kind);
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

Section decodeSection(const ptree& t)
{
    Section s;
    s.number = t.get<unsigned>("number");
    s.type = t.get("type", s.type);
    s.size = t.get<unsigned long>("size");
    s.access = t.get("access", s.access);
    s.operationMask = getByte(t, "operationMask", 0);
    s.conditions = getBytes(t, "conditions", s.conditions);
    s.secrets = getBytes(t, "secrets", s.secrets);
    if (s.conditions.size() != 6 || s.secrets.size() != 6)
        throw BadField("section condition or secret bytes");
    if (t.get_optional<std::string>("rawOverride"))
        s.rawOverride = getBytes(t, "rawOverride", {});
    return s;
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

JournalRecord decodeJournalRecord(const ptree& t)
{
    JournalRecord r;
    r.user = getText(t, "user", "");
    r.domain = getText(t, "domain", "");
    r.os = getText(t, "os", "");
    r.device = getText(t, "device", "");
    r.time = t.get<std::int64_t>("time", 0);
    r.raw = getBytes(t, "raw", {});
    return r;
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

Drive decodeDrive(const ptree& t)
{
    Drive d;
    d.present = t.get<bool>("present");
    d.sizeMb = t.get<std::uint32_t>("sizeMb");
    d.sections = getList<Section>(t, "sections", decodeSection);
    d.temporaryStates = getList<std::pair<unsigned, unsigned>>(t, "temporaryStates", [](const ptree& st) {
        return std::make_pair(st.get<unsigned>("section"), st.get<unsigned>("access"));
    });
    return d;
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

CardSettings decodeCard(const ptree& tree)
{
    CardSettings c;
    auto found = tree.get_child_optional("card");
    if (!found)
        return c;
    const ptree& t = *found;
    c.atrMarker = getText(t, "atrMarker", c.atrMarker);
    c.protocol = t.get("protocol", c.protocol);
    if (t.get_optional<std::string>("rawAtr"))
        c.rawAtr = getBytes(t, "rawAtr", {});
    c.chunk = t.get("chunk", c.chunk);
    if (auto ext = t.get_optional<std::string>("extInfo"))
        c.extInfo = *ext == "unsupported" ? std::nullopt : std::optional<Bytes>(fromHex(*ext));
    c.journal = getList<JournalRecord>(t, "journal", decodeJournalRecord);
    c.journalCap = t.get("journalCap", c.journalCap);
    c.plugGeneration = t.get("plugGeneration", c.plugGeneration);
    c.awayMs = t.get("awayMs", c.awayMs);
    c.plugged = t.get("plugged", c.plugged);
    return c;
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

ModuleFault decodeModuleFault(const ptree& t)
{
    ModuleFault f;
    f.entry = t.get<std::string>("entry");
    f.rv = parseType(t.get<std::string>("rv"));
    f.skip = t.get("skip", f.skip);
    f.times = t.get("times", f.times);
    return f;
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

CardFault decodeCardFault(const ptree& t)
{
    CardFault f;
    f.claMask = getOptionalByte(t, "claMask");
    f.cla = getOptionalByte(t, "cla");
    f.ins = getOptionalByte(t, "ins");
    f.p1 = getOptionalByte(t, "p1");
    f.p2 = getOptionalByte(t, "p2");
    f.dataPrefix = getBytes(t, "dataPrefix", {});
    f.control = getOptionalByte(t, "control");
    f.nth = t.get("nth", f.nth);
    f.seen = t.get("seen", f.seen);
    f.afterReplug = t.get("afterReplug", f.afterReplug);
    f.count = t.get("count", f.count);
    f.action = t.get<std::string>("action");
    f.argument = t.get("argument", std::string());
    return f;
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

ModuleSwitches decodeSwitches(const ptree& tree)
{
    ModuleSwitches s;
    auto found = tree.get_child_optional("switches");
    if (!found)
        return s;
    const ptree& t = *found;
    s.listedNotPresent = t.get("listedNotPresent", false);
    s.duplicateSlotId = t.get("duplicateSlotId", false);
    s.noTlsQuery = t.get("noTlsQuery", false);
    s.unblockResetsLocalPins = t.get("unblockResetsLocalPins", false);
    s.enforcePinExpired = t.get("enforcePinExpired", false);
    s.enforcePolicyModifiable = t.get("enforcePolicyModifiable", false);
    s.refusedTemporaryModes =
        getList<unsigned long>(t, "refusedTemporaryModes", [](const ptree& m) { return m.get_value<unsigned long>(); });
    return s;
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

TokenState decode(const ptree& t)
{
    // Files of the earlier form kept the module's volumes apart from the card's sections.
    if (t.get_child_optional("volumes") || t.get_child_optional("hasDrive"))
        throw BadField("old form with separate volumes and card sections; create the token again");
    TokenState s;
    s.serial = t.get<std::uint64_t>("serial");
    s.slotId = t.get("slotId", s.slotId);
    s.slotDescription = getText(t, "slotDescription", "");
    s.tls = t.get("tls", false);
    s.hardwareVersion = decodeVersion(t, "hardwareVersion");
    s.firmwareVersion = decodeVersion(t, "firmwareVersion");
    s.tokenClass = t.get("tokenClass", s.tokenClass);
    s.featureNumber = t.get("featureNumber", s.featureNumber);
    s.label = getText(t, "label", "");
    s.defaultLabel = getText(t, "defaultLabel", "");
    s.adminPin = decodePin(t, "adminPin");
    s.userPin = decodePin(t, "userPin");
    s.pinChangeFlags = t.get("pinChangeFlags", s.pinChangeFlags);
    s.userPinToBeChanged = t.get("userPinToBeChanged", false);
    s.userPinHistory = decodeBytesList(t, "userPinHistory");
    s.totalMemory = t.get("totalMemory", s.totalMemory);
    s.freeMemory = t.get("freeMemory", s.freeMemory);
    s.drive = decodeDrive(t.get_child("drive"));
    s.directory = getList<DirectoryEntry>(t, "directory", decodeEntry);
    s.objects = getList<FeatureObject>(t, "objects", decodeObject);
    s.card = decodeCard(t);
    s.moduleFaults = getList<ModuleFault>(t, "moduleFaults", decodeModuleFault);
    s.switches = decodeSwitches(t);
    s.cardFaults = getList<CardFault>(t, "cardFaults", decodeCardFault);
    return s;
}

} // namespace

TokenState readTokenState(std::istream& in, const std::string& origin)
{
    try {
        ptree tree;
        boost::property_tree::read_json(in, tree);
        return decode(tree);
    } catch (const std::exception& e) {
        throw StateFormatError(origin + ": " + e.what());
    }
}

void writeTokenState(std::ostream& out, const TokenState& state)
{
    boost::property_tree::write_json(out, encode(state), true);
}

} // namespace qvtoken
