#pragma once

#include <cstdint>
#include <vector>

namespace qvfl::FCP {

// One tag of a file control parameters template, parsed from a card answer or
// built for a CREATE FILE; length is the length byte that toVector() writes.
class FcpTag {
public:
    FcpTag(std::uint8_t length, std::uint8_t tag) : length(length), tag(tag) {}
    virtual std::vector<std::uint8_t> toVector() const = 0;
    virtual ~FcpTag() = default;
    // Tag byte, length byte and value, in 8 bits.
    virtual std::uint8_t getTagFullLength() const;

    std::uint8_t length;
    std::uint8_t tag;

protected:
    FcpTag(const FcpTag&) = default;
    FcpTag& operator=(const FcpTag&) = default;
};

} // namespace qvfl::FCP
