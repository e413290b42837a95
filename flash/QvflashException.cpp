#include "flash/QvflashException.h"

#include <utility>

namespace quorvik::qvflash {
namespace {

// A registered message first, then the library's description, then the status name.
std::string statusText(qvflash_StatusCode code, const char* statusName, std::optional<std::string> message)
{
    if (!message)
        message = getStatusDescription(code);
    return "Qvflash: " + (message ? *message : std::string(statusName));
}

} // namespace

QvflashException::QvflashException(qvflash_StatusCode code) : code_(code), conditions_(getLastConditions()) {}

#define QV_QVFLASH_DEFINE_STATUS_EXCEPTION(Class, code)                                                                \
    Class::Class(std::optional<std::string> message)                                                                   \
        : QvflashException(code), what_(statusText(code, kStatusName, std::move(message)))                             \
    {                                                                                                                  \
    }                                                                                                                  \
    const char* Class::what() const noexcept                                                                           \
    {                                                                                                                  \
        return what_.c_str();                                                                                          \
    }
QV_QVFLASH_STATUS_CODES(QV_QVFLASH_DEFINE_STATUS_EXCEPTION)
#undef QV_QVFLASH_DEFINE_STATUS_EXCEPTION

UnknownException::UnknownException(qvflash_StatusCode code)
    : QvflashException(code), what_("Qvflash: An unknown error has occurred. " + std::to_string(code))
{
}

const char* UnknownException::what() const noexcept
{
    return what_.c_str();
}

void QvflashException::emit(qvflash_StatusCode code, std::optional<std::string> message)
{
    switch (code) {
    case QVFLASH_ST_OK:
        return;
#define QV_QVFLASH_THROW_STATUS_EXCEPTION(Class, code)                                                                 \
    case code:                                                                                                         \
        throw Class(std::move(message));
        QV_QVFLASH_STATUS_CODES(QV_QVFLASH_THROW_STATUS_EXCEPTION)
#undef QV_QVFLASH_THROW_STATUS_EXCEPTION
    default:
        throw UnknownException(code);
    }
}

std::optional<std::string> getStatusDescription(qvflash_StatusCode code)
{
    const char* description = nullptr;
    if (qvflash_status_description(code, &description) != QVFLASH_ST_OK || description == nullptr)
        return std::nullopt;
    return std::string(description);
}

} // namespace quorvik::qvflash
