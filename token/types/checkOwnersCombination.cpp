#include "token/types/checkOwnersCombination.h"

#include <set>

namespace {
using Type = VolumeOwner::Type;

const std::set<std::set<Type>> kValidOwnerCombinations{{Type::User, Type::Mva}};
} // namespace

bool checkOwnersCombination(const std::vector<VolumeOwner>& owners)
{
    if (owners.size() == 1) {
        return owners.front().getType() != Type::Unknown;
    }
    std::set<Type> types;
    for (const auto& owner : owners) {
        if (!types.insert(owner.getType()).second) {
            return false;
        }
    }
    return kValidOwnerCombinations.count(types) != 0;
}
