#pragma once

#include <cstdint>
#include <optional>
#include <string>

// An MVA object of the token, named "mva-" and its number.
class MvaId {
public:
    static constexpr const char* prefix = "mva-";

    explicit MvaId(std::uint16_t value) noexcept : value_(value) {}

    std::uint16_t get() const noexcept { return value_; }

private:
    std::uint16_t value_;
};

std::string toString(const MvaId& id);

// Empty for any word that is not "mva-" followed by a number from 0 to 65535.
std::optional<MvaId> toMvaId(const std::string& text);
