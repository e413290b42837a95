#pragma once

#include <cstddef>

namespace qvfl {

// Overwrites a secret with zeros in a way the compiler may not drop as a
// store to memory that is about to be released.
void wipeBytes(void* bytes, std::size_t size) noexcept;

// Wipes a buffer (a string or a byte vector) holding a secret when the scope
// ends, however it ends.
template <typename Buffer>
class ScopedWipe {
public:
    explicit ScopedWipe(Buffer& buffer) : buffer(buffer) {}
    ~ScopedWipe() { wipeBytes(buffer.data(), buffer.size()); }
    ScopedWipe(const ScopedWipe&) = delete;
    ScopedWipe& operator=(const ScopedWipe&) = delete;

private:
    Buffer& buffer;
};

} // namespace qvfl
