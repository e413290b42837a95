#pragma once

#include <qvflash-core/errors/Exception.h>

#include <cstdint>

namespace qvfl {

// Local PINs and MVA objects share the file identifiers 3..31 of the
// local-login directory; 1 and 2 are the admin and user PINs.
constexpr std::uint16_t kFirstLocalSecretId = 3;
constexpr std::uint16_t kLastLocalSecretId = 31;

extern const char* const kLocalSecretIdRangeText;

// 100018 naming the valid range, then the id.
Exception secretIdOutOfRange(const char* rangeText, std::int64_t id);

// 100018 naming only the id.
Exception invalidSecretId(std::int64_t id);

} // namespace qvfl
