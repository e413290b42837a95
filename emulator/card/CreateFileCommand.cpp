#include "CreateFileCommand.h"

#include "Fcp.h"
#include "Tlv.h"

#include <algorithm>
#include <map>

namespace qvcard {
namespace {

constexpr std::uint8_t localPinDescriptor = 0x10;
constexpr std::uint8_t mvaDescriptor = 0x14;
constexpr std::size_t directoryCapacity = qvtoken::lastLocalId - qvtoken::firstLocalId + 1;
constexpr unsigned long maxRecordSize = 249;
constexpr unsigned long maxRecordCount = 254;
constexpr unsigned long maxPinLength = 32;
constexpr std::uint8_t minPinLength = 6;

using Fields = std::map<std::uint8_t, Bytes>;

// The template's inner TLVs by tag; exactly 80, 82, 83, 85 and 86, once each.
Fields templateFields(const Bytes& data)
{
    try {
        const auto outer = parseTlvs(data);
        if (outer.size() != 1 || outer[0].tag != 0x62) {
            throw CardRefusal(sw::invalidData);
        }
        Fields fields;
        for (auto& tlv : parseTlvs(outer[0].value)) {
            if (!fields.emplace(tlv.tag, std::move(tlv.value)).second) {
                throw CardRefusal(sw::invalidData);
            }
        }
        const std::uint8_t expected[] = {0x80, 0x82, 0x83, 0x85, 0x86};
        if (fields.size() != 5 || !std::all_of(std::begin(expected), std::end(expected),
                                               [&](std::uint8_t tag) { return fields.count(tag) != 0; })) {
            throw CardRefusal(sw::invalidData);
        }
        return fields;
    } catch (const MalformedTlv&) {
        throw CardRefusal(sw::invalidData);
    }
}

unsigned long number(const Bytes& value)
{
    return static_cast<unsigned long>(value[0] << 8 | value[1]);
}

// Max tries and remaining share one byte, a nibble each; a new file starts unblocked and full.
unsigned long triesOf(std::uint8_t byte)
{
    const unsigned long max = byte >> 4;
    if (max < 1 || max > 10 || (byte & 0x0F) != max) {
        throw CardRefusal(sw::invalidData);
    }
    return max;
}

void require(bool condition)
{
    if (!condition) {
        throw CardRefusal(sw::invalidData);
    }
}

qvtoken::MvaFile mvaFrom(const Fields& f, unsigned long id)
{
    const Bytes& descriptor = f.at(0x82);
    const Bytes& size = f.at(0x80);
    const Bytes& parameters = f.at(0x85);
    require(descriptor.size() == 4 && descriptor[1] == 0 && descriptor[2] == 0 && size.size() == 2 &&
            parameters.size() == 6 && f.at(0x86) == mvaSecurityAttributes());
    const unsigned long recordSize = descriptor[3];
    require(recordSize >= 1 && recordSize <= maxRecordSize && number(size) % recordSize == 0);
    const unsigned long records = number(size) / recordSize;
    require(records >= 1 && records <= maxRecordCount);
    require(parameters[0] == 0x21 && parameters[1] == 0 && parameters[2] == 0 && parameters[4] == 0 &&
            parameters[5] == 0);
    qvtoken::MvaFile mva;
    mva.id = id;
    mva.recordSize = recordSize;
    mva.maxRecords = records;
    mva.maxTries = mva.triesLeft = triesOf(parameters[3]);
    mva.raw85 = parameters;
    mva.raw86 = f.at(0x86);
    return mva;
}

qvtoken::LocalPin localPinFrom(const Fields& f, unsigned long id)
{
    const Bytes& descriptor = f.at(0x82);
    const Bytes& parameters = f.at(0x85);
    const Bytes& security = f.at(0x86);
    require(descriptor == Bytes{localPinDescriptor, 0x00} &&
            f.at(0x80) == Bytes{0x00, static_cast<std::uint8_t>(maxPinLength)} && parameters.size() == 6 &&
            security.size() == 15);
    require(parameters[0] == 0x21 && parameters[1] == minPinLength && parameters[2] == 0 && parameters[4] == 0 &&
            parameters[5] == 0);
    const std::uint8_t secureType = security[2];
    const std::uint8_t index = security[9];
    require(secureType == 0x01 || secureType == 0x02 || secureType == 0x04);
    require(index == (secureType == 0x04 ? id : 0));
    require(security == localPinSecurityAttributes(secureType, index));
    qvtoken::LocalPin pin;
    pin.id = id;
    pin.unset = true;
    pin.secureType = secureType;
    pin.securityIndex = index;
    pin.raw85Head = parameters[0];
    pin.raw86 = security;
    pin.pin.minLength = minPinLength;
    pin.pin.maxLength = maxPinLength;
    pin.pin.maxTries = pin.pin.triesLeft = triesOf(parameters[3]);
    return pin;
}

} // namespace

Response createFile(const CommandApdu& apdu, CardSession& session, qvtoken::TokenState& token)
{
    if (apdu.p1() != 0x00 || apdu.p2() != 0x00 || !apdu.hasLc()) {
        throw CardRefusal(sw::badP1P2);
    }
    if (session.currentDf != CardSession::Df::logins) {
        throw CardRefusal(sw::noCurrentEf);
    }
    const Fields fields = templateFields(apdu.data());
    const Bytes& descriptor = fields.at(0x82);
    require(!descriptor.empty() && (descriptor[0] == mvaDescriptor || descriptor[0] == localPinDescriptor));
    const bool mva = descriptor[0] == mvaDescriptor;
    if (!(session.adminVerified || (!mva && session.userVerified))) {
        throw CardRefusal(sw::noRight);
    }
    require(fields.at(0x83).size() == 2);
    const unsigned long id = number(fields.at(0x83));
    require(id >= qvtoken::firstLocalId && id <= qvtoken::lastLocalId);
    qvtoken::DirectoryEntry entry =
        mva ? qvtoken::DirectoryEntry{mvaFrom(fields, id)} : qvtoken::DirectoryEntry{localPinFrom(fields, id)};
    auto& directory = token.directory;
    if (std::any_of(directory.begin(), directory.end(), [&](const auto& e) { return qvtoken::entryId(e) == id; })) {
        throw CardRefusal(sw::fileExists);
    }
    if (directory.size() >= directoryCapacity) {
        throw CardRefusal(sw::noMemory);
    }
    directory.push_back(std::move(entry));
    if (!mva) {
        session.createdUnset.insert(id);
    }
    session.currentEf = id;
    return Response{};
}

} // namespace qvcard
