#pragma once

#include <cstdint>
#include <vector>

namespace qvfl {

// The data field of a command writing one value of a record or PIN file:
// 80 02 nH nL, then the tag, n and the n value bytes (values stay below 256
// bytes). The value is copied once, into room reserved up front: no stray
// copy of a secret is left in a released buffer.
std::vector<std::uint8_t> lengthTaggedField(std::uint8_t tag, const std::vector<std::uint8_t>& value);

} // namespace qvfl
