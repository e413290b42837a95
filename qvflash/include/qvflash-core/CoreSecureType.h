#pragma once

#include <cstdint>

namespace qvfl {

// Who protects a new local PIN: the admin, the user, or the local PIN itself.
enum class CoreSecureType : std::uint8_t {
    Admin = 1,
    User = 2,
    LocalPin = 3,
};

} // namespace qvfl
