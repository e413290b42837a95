#include "flash/QvflashUtilsException.h"

namespace quorvik::qvflash_utils {

#define QV_QVFLASH_UTILS_DEFINE_STATUS_EXCEPTION(Class, code)                                                          \
    Class::Class(const char* description)                                                                              \
        : what_(std::string("Qvflash-utils: ") + (description != nullptr ? description : #code))                       \
    {                                                                                                                  \
    }                                                                                                                  \
    const char* Class::what() const noexcept                                                                           \
    {                                                                                                                  \
        return what_.c_str();                                                                                          \
    }
QV_QVFLASH_UTILS_STATUS_CODES(QV_QVFLASH_UTILS_DEFINE_STATUS_EXCEPTION)
#undef QV_QVFLASH_UTILS_DEFINE_STATUS_EXCEPTION

const char* UnknownException::what() const noexcept
{
    return "Unknown exception.";
}

void QvflashUtilsException::emit(qvfl_utils_StatusCode code, const char* description)
{
    switch (code) {
    case QVFL_UTILS_ST_OK:
        return;
#define QV_QVFLASH_UTILS_THROW_STATUS_EXCEPTION(Class, code)                                                           \
    case code:                                                                                                         \
        throw Class(description);
        QV_QVFLASH_UTILS_STATUS_CODES(QV_QVFLASH_UTILS_THROW_STATUS_EXCEPTION)
#undef QV_QVFLASH_UTILS_THROW_STATUS_EXCEPTION
    default:
        throw UnknownException();
    }
}

} // namespace quorvik::qvflash_utils
