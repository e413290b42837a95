#include "token/types/MvaId.h"

#include "token/types/readPrefixedId.h"

std::string toString(const MvaId& id)
{
    return MvaId::prefix + std::to_string(id.get());
}

std::optional<MvaId> toMvaId(const std::string& text)
{
    if (const auto value = readPrefixedId(text, MvaId::prefix)) {
        return MvaId(*value);
    }
    return std::nullopt;
}
