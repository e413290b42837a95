#include "pkcs11/PkcsLoadingError.h"

const char* PkcsLoadingError::what() const noexcept
{
    return "PKCS loading failed.";
}
