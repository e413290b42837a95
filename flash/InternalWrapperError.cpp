#include "flash/InternalWrapperError.h"

namespace quorvik::qvflash {

const char* InternalWrapperError::what() const noexcept
{
    return "Qvflash: Wrapper internal error.";
}

} // namespace quorvik::qvflash
