#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A local PIN of the token, named "local-" and its number; numbers 0 to 2 belong to the
// token's own PINs.
class LocalUserId {
public:
    static constexpr const char* prefix = "local-";
    static constexpr std::uint16_t minimum = 3;

    // Throws LocalUserIdValidationError below the minimum.
    explicit LocalUserId(std::uint16_t value);

    std::uint16_t get() const noexcept { return value_; }

private:
    std::uint16_t value_;
};

std::string toString(const LocalUserId& id);

// Empty for any word that is not "local-" followed by a number from 3 to 65535.
std::optional<LocalUserId> toLocalUserId(const std::string& text);
