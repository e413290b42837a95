#include "token/wrapQvflashLogin.h"

#include "cli/DomainError.h"
#include "flash/QvflashException.h"

#include <algorithm>
#include <string>

std::optional<std::int64_t> getAttempts(const std::vector<quorvik::qvflash::StatusCondition>& conditions)
{
    const auto found = std::find_if(conditions.begin(), conditions.end(), [](const auto& condition) {
        return condition.getCondCode() == QVFLASH_COND_REMAINING_ATTEMPTS;
    });
    if (found == conditions.end()) {
        return std::nullopt;
    }
    if (const auto* attempts = std::get_if<long long>(&found->detail)) {
        return *attempts;
    }
    return std::nullopt;
}

void wrapQvflashLogin(const std::function<void()>& login, const VolumeOwner& owner)
{
    const std::string name = toString(owner);
    try {
        login();
    } catch (const quorvik::qvflash::IncorrectLoginException& error) {
        const auto attempts = getAttempts(error.getConditions());
        if (!attempts) {
            throw;
        }
        throw WrongPinError(name, *attempts);
    } catch (const quorvik::qvflash::ObjectBlockedException&) {
        if (owner.getType() == VolumeOwner::Type::Mva) {
            throw MvaLockedError(name);
        }
        throw PinLockedError(name);
    } catch (const quorvik::qvflash::RecordMismatchException& error) {
        const auto attempts = getAttempts(error.getConditions());
        if (!attempts) {
            throw;
        }
        if (owner.getType() == VolumeOwner::Type::LocalUser) {
            throw WrongPinError(name, *attempts);
        }
        throw WrongMvaError(name, *attempts);
    }
}
