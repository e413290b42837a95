#include "pkcs11/ScopeGuard.h"

#include <iostream>

namespace vt {

std::string currentErrorText()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An error occured in scope guard";
    }
}

namespace detail {

void reportGuardError() noexcept
{
    try {
        std::cerr << currentErrorText() << '\n';
    } catch (...) {
        // Nothing is left to report with.
    }
}

} // namespace detail

} // namespace vt
