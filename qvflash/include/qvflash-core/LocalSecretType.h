#pragma once

#include <cstdint>

namespace qvfl {

// Which kind of local secret a file identifier names.
enum class LocalSecretType : std::uint8_t {
    LocalPin = 0,
    Mva = 1,
};

} // namespace qvfl
