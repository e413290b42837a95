#pragma once

#include <string_view>

namespace quorvik::pkcs11::detail {

// The module's entries take PINs and labels as non-const byte pointers although they only read
// them; an empty view with null data stays null.
inline unsigned char* moduleBytes(std::string_view text) noexcept
{
    return reinterpret_cast<unsigned char*>(const_cast<char*>(text.data()));
}

} // namespace quorvik::pkcs11::detail
