#pragma once

#include <qvflash-core/ProtectConditions.h>

#include <cstdint>
#include <optional>
#include <variant>

namespace qvfl {

// The operation is forbidden to everyone.
struct AccessForbidden {};

inline bool operator==(const AccessForbidden&, const AccessForbidden&)
{
    return true;
}

// The security attribute of one access-switching operation of a section.
struct SecurAttr {
    std::variant<ProtectConditions, AccessForbidden> rule;
    // The local PIN, MVA object, complex rule or key that the rule names.
    std::optional<std::uint8_t> secretId;
};

inline bool operator==(const SecurAttr& left, const SecurAttr& right)
{
    return left.rule == right.rule && left.secretId == right.secretId;
}

} // namespace qvfl
