#include <qvflash-core/convert/argumentConverters.h>

#include <stdexcept>

namespace qvfl::convert {
namespace {

constexpr std::size_t kMinRecordSize = 1;
constexpr std::size_t kMaxRecordSize = 249;
constexpr std::size_t kMinLocalPinSize = 6;
constexpr std::size_t kMaxLocalPinSize = 32;
constexpr const char* kExpectedSecureTypes = "Expected: admin, user, local pin. Got none";

} // namespace

std::vector<std::uint8_t> toMvaRecord(const qvflash_MvaRecord& record)
{
    if (record.data == nullptr) {
        throw Exception(QVFLASH_ST_NULL_PTR_ARG);
    }
    if (record.length < kMinRecordSize || record.length > kMaxRecordSize) {
        throw Exception(QVFLASH_ST_INVALID_RECORD_SIZE);
    }
    return std::vector<std::uint8_t>(record.data, record.data + record.length);
}

std::vector<std::uint8_t> toCoreLocalPinContainer(const qvflash_String& pin)
{
    if (pin.data == nullptr) {
        throw Exception(QVFLASH_ST_NULL_PTR_ARG);
    }
    if (pin.length < kMinLocalPinSize || pin.length > kMaxLocalPinSize) {
        throw Exception(QVFLASH_ST_INVALID_PIN_SIZE);
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pin.data);
    return std::vector<std::uint8_t>(bytes, bytes + pin.length);
}

std::string toCoreText(const qvflash_String& text)
{
    if (text.length == 0) {
        return std::string();
    }
    // Without this test a NULL pointer would be read for length bytes.
    if (text.data == nullptr) {
        throw Exception(QVFLASH_ST_NULL_PTR_ARG);
    }
    return std::string(text.data, text.length);
}

CoreSecureType toCoreSecureType(qvflash_SecureType secureType)
{
    switch (secureType) {
    case QVFLASH_SECURE_NONE:
        throw Exception(QVFLASH_ST_INVALID_SECRET_TYPE,
                        {Condition(QVFLASH_COND_EXPECTED_SECRET_TYPE, kExpectedSecureTypes)});
    case QVFLASH_SECURE_ADMIN:
        return CoreSecureType::Admin;
    case QVFLASH_SECURE_USER:
        return CoreSecureType::User;
    case QVFLASH_SECURE_LOCAL_PIN:
        return CoreSecureType::LocalPin;
    }
    throw std::logic_error("Unknown qvflash_SecureType");
}

qvflash_SecretType toApiSecretType(LocalSecretType type)
{
    switch (type) {
    case LocalSecretType::LocalPin:
        return QVFLASH_SECRET_LOCAL_PIN;
    case LocalSecretType::Mva:
        return QVFLASH_SECRET_MVA;
    }
    throw std::logic_error("Unknown LocalSecretType");
}

PcInfo toCorePcInfo(const qvflash_PcInfo& info)
{
    PcInfo result;
    result.userName = toCoreText(info.userName);
    result.domainName = toCoreText(info.domainName);
    result.osVersion = toCoreText(info.osVersion);
    result.deviceName = toCoreText(info.deviceName);
    result.time = info.time;
    return result;
}

} // namespace qvfl::convert
