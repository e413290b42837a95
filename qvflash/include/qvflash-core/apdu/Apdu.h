#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qvfl {

// A short ISO 7816-4 command APDU. Each card command is a subclass whose
// constructor fills the fields; absent and empty data are different commands.
class Apdu {
public:
    // The data is taken over, not copied: a command that carries a secret
    // leaves no stray copy of it behind.
    Apdu(std::uint8_t cla, std::uint8_t ins, std::uint8_t p1, std::uint8_t p2,
         std::optional<std::vector<std::uint8_t>> data, const std::optional<std::uint8_t>& le);
    Apdu(const Apdu&) = default;
    Apdu& operator=(const Apdu&) = default;
    Apdu(Apdu&&) noexcept = default;
    Apdu& operator=(Apdu&&) noexcept = default;
    // Wipes the data: it may be a secret (VERIFY).
    virtual ~Apdu();

    // CLA INS P1 P2, then Lc and the data when there is data, then Le when
    // there is one. Data fields stay below 256 bytes: no extended lengths.
    std::vector<std::uint8_t> toBuffer() const;

    // 1 when Le is present, plus 2 when data is present (0 to 3).
    unsigned getApduCase() const;

    // Response bytes the command may bring, status word included:
    // 2 without Le, 258 for Le 00 (meaning 256), Le + 2 otherwise.
    std::size_t getReceiveBufferSize() const;

    const std::optional<std::uint8_t>& le() const { return le_; }

private:
    std::uint8_t cla_;
    std::uint8_t ins_;
    std::uint8_t p1_;
    std::uint8_t p2_;
    std::optional<std::vector<std::uint8_t>> data_;
    std::optional<std::uint8_t> le_;
};

} // namespace qvfl
