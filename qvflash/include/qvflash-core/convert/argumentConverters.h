#pragma once

#include <qvflash-core/CoreSecureType.h>
#include <qvflash-core/PcInfo.h>
#include <qvflash-core/local/LocalLoginDirectory.h>
#include <qvflash-core/local/secretIdRange.h>

#include <qvflash.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qvfl::convert {

// NULL data gives 3 (also with length 0); a length outside 1..249 gives 100002.
std::vector<std::uint8_t> toMvaRecord(const qvflash_MvaRecord& record);

// NULL data gives 3; a length outside 6..32 gives 100028.
std::vector<std::uint8_t> toCoreLocalPinContainer(const qvflash_String& pin);

// Exactly length bytes of the text. NULL data with a non-zero length gives 3;
// NULL with length 0 is the empty text.
std::string toCoreText(const qvflash_String& text);

// 0 gives 100029 naming the accepted types; values outside the enum are a
// logic error.
CoreSecureType toCoreSecureType(qvflash_SecureType secureType);

// A local secret id (3..31); otherwise 100018 with the id.
template <typename Id>
std::uint8_t toCoreSecretId(Id id)
{
    if (id < kFirstLocalSecretId || id > kLastLocalSecretId) {
        throw invalidSecretId(id);
    }
    return static_cast<std::uint8_t>(id);
}

template <typename Id>
std::uint16_t toApiSecretId(Id id)
{
    if (id < kFirstLocalSecretId || id > kLastLocalSecretId) {
        throw invalidSecretId(id);
    }
    return static_cast<std::uint16_t>(id);
}

qvflash_SecretType toApiSecretType(LocalSecretType type);

// The four texts (each through toCoreText) and the time.
PcInfo toCorePcInfo(const qvflash_PcInfo& info);

} // namespace qvfl::convert
