#include "token/types/LocalUserId.h"

#include "cli/CliError.h"
#include "token/types/readPrefixedId.h"

LocalUserId::LocalUserId(std::uint16_t value) : value_(value)
{
    if (value < minimum) {
        throw LocalUserIdValidationError(minimum);
    }
}

std::string toString(const LocalUserId& id)
{
    return LocalUserId::prefix + std::to_string(id.get());
}

std::optional<LocalUserId> toLocalUserId(const std::string& text)
{
    const auto value = readPrefixedId(text, LocalUserId::prefix);
    if (!value || *value < LocalUserId::minimum) {
        return std::nullopt;
    }
    return LocalUserId(*value);
}
