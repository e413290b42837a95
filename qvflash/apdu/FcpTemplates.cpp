#include <qvflash-core/apdu/FcpTemplates.h>

#include <qvflash-core/apdu/FcpDescriptorTag.h>
#include <qvflash-core/apdu/SecurityAttributesTag.h>
#include <qvflash-core/apdu/bigEndian.h>
#include <qvflash-core/apdu/fcp.h>

namespace qvfl::FCP {
namespace {

constexpr std::uint8_t kFileSizeTag = 0x80;
constexpr std::uint8_t kParametersHead = 0x21;
constexpr std::uint8_t kLocalPinFile = 0x10;
constexpr std::uint8_t kLocalPinAccessMode = 0x43;

// Maximum and remaining attempts share one byte: both start at the maximum.
std::uint8_t attemptsByte(std::uint8_t attempts)
{
    return static_cast<std::uint8_t>((attempts << 4) | attempts);
}

void appendWord(std::vector<std::uint8_t>& bytes, std::uint16_t value)
{
    toBufferBE(std::back_inserter(bytes), value);
}

std::uint8_t secureTypeCondition(CoreSecureType type)
{
    switch (type) {
    case CoreSecureType::Admin:
        return 0x01;
    case CoreSecureType::User:
        return 0x02;
    case CoreSecureType::LocalPin:
        return 0x04;
    }
    return 0x00;
}

} // namespace

std::vector<std::uint8_t> getMvaTemplateDataVector(std::uint16_t fileId, std::uint8_t recordCount,
                                                   std::uint8_t recordSize, std::uint8_t attempts)
{
    const SecurityAttributesTag& securityAttributes = mvaTemplateSecAttrTag();
    std::vector<std::uint8_t> bytes{kFcpTemplateTag,
                                    static_cast<std::uint8_t>(securityAttributes.length + 24),
                                    FcpDescriptorTag::kTag,
                                    0x04,
                                    FcpDescriptorTag::kRecordFile,
                                    0x00,
                                    0x00,
                                    recordSize,
                                    kFileSizeTag,
                                    0x02};
    appendWord(bytes, static_cast<std::uint16_t>(recordCount * recordSize));
    bytes.insert(bytes.end(), {0x83, 0x02});
    appendWord(bytes, fileId);
    bytes.insert(bytes.end(), {0x85, 0x06, kParametersHead, 0x00, 0x00, attemptsByte(attempts), 0x00, 0x00});
    const std::vector<std::uint8_t> encoded = securityAttributes.toVector();
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    return bytes;
}

std::vector<std::uint8_t> getLocalPinTemplateDataVector(std::uint16_t fileId, std::uint16_t fileSize,
                                                        std::uint8_t minLength, std::uint8_t attempts,
                                                        CoreSecureType type)
{
    // A local PIN that protects itself names its own file as the secret.
    const std::uint8_t secretId = type == CoreSecureType::LocalPin ? static_cast<std::uint8_t>(fileId & 0xFF) : 0x00;
    std::vector<std::uint8_t> bytes{kFcpTemplateTag, 0x25, kFileSizeTag, 0x02};
    appendWord(bytes, fileSize);
    bytes.insert(bytes.end(), {0x82, 0x02, kLocalPinFile, 0x00, 0x83, 0x02});
    appendWord(bytes, fileId);
    bytes.insert(bytes.end(), {0x86, 0x0F, kLocalPinAccessMode, 0x01, secureTypeCondition(type), 0x00, 0x00, 0x00, 0x00,
                               0xFF, 0x00, secretId, 0x00, 0x00, 0x00, 0x00, 0x00});
    bytes.insert(bytes.end(), {0x85, 0x06, kParametersHead, minLength, 0x00, attemptsByte(attempts), 0x00, 0x00});
    return bytes;
}

} // namespace qvfl::FCP
