#include "token/types/checkOwnersCombination.h"

#include <set>

namespace {
using Type = VolumeOwner::Type;

const std::set<std::set<Type>> kValidOwnerCombinations{{Type::User, Type::Mva}};
} // namespace

bool checkOwnersCombination(const std::vector<VolumeOwner>& owners)
{
    if (owners.size() == 1) {
        const auto type = owners.front().getType();
        return type != Type::Unknown && type != Type::Mixed;
    }
    std::set<Type> types;
    for (const auto& owner : owners) {
        if (!types.insert(owner.getType()).second) {
            return false;
        }
    }
    return kValidOwnerCombinations.count(types) != 0;
}
