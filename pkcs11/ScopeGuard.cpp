#include "pkcs11/ScopeGuard.h"

#include <iostream>

namespace vt::detail {

void reportGuardError() noexcept
{
    try {
        throw;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
    } catch (...) {
        std::cerr << "An error occured in scope guard" << '\n';
    }
}

} // namespace vt::detail
