#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The number after `prefix` in an owner word such as "local-5" or "mva-12": decimal digits and
// nothing else, so a typo such as "local-3x" or "local-+3" names no owner instead of another
// one. A number outside 0..65535 names no object on a token (its identifiers are 16 bits
// wide), so it is refused rather than wrapped onto another object's identifier.
std::optional<std::uint16_t> readPrefixedId(const std::string& text, const std::string& prefix);
