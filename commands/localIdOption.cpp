#include "commands/localIdOption.h"

#include "cli/CliError.h"

#include <string>

TypedOptionAttributes<LocalIdValue> localIdAttributes(bool required)
{
    const auto minimum = std::to_string(LocalUserId::minimum);
    return {
        {"local-id", 'i'},
        {std::string(required ? "" : "(Optional) ") + "Local PIN identifier (>= " + minimum + ").",
         std::string(required ? "" : "(Необязательно) ") + "Идентификатор локального PIN-кода (>= " + minimum + ")."},
        std::nullopt,
        std::nullopt,
        required,
        false,
        nullptr};
}

LocalUserId toLocalUserId(LocalIdValue value)
{
    if (value.value < LocalUserId::minimum) {
        throw LocalUserIdValidationError(LocalUserId::minimum);
    }
    return LocalUserId(static_cast<std::uint16_t>(value.value));
}
