#include "cli/DomainError.h"

namespace {
// The text form of a volume without owner.
constexpr const char* noneOwnerText = "none";
} // namespace

PinConfirmationFailedError::PinConfirmationFailedError(const std::string& pinName)
    : message("Confirmation of " + pinName + " failed.")
{
}

const char* PinConfirmationFailedError::what() const noexcept
{
    return message.c_str();
}

NoneOwnerNotAllowedError::NoneOwnerNotAllowedError()
    : message("Owner can't be '" + std::string(noneOwnerText) + "' for non-journal sections.")
{
}

const char* NoneOwnerNotAllowedError::what() const noexcept
{
    return message.c_str();
}

WrongPinError::WrongPinError(std::string ownerName, long long attemptsLeft)
    : message("Incorrect " + ownerName + " PIN. Attempts left: " + std::to_string(attemptsLeft) + ".")
{
}

const char* WrongPinError::what() const noexcept
{
    return message.c_str();
}

PinLockedError::PinLockedError(std::string ownerName)
    : message(ownerName + " PIN is blocked.")
{
}

const char* PinLockedError::what() const noexcept
{
    return message.c_str();
}

WrongMvaError::WrongMvaError(std::string mvaName, long long attemptsLeft)
    : message("The host PC wasn't found in " + mvaName + ". Attempts left: " + std::to_string(attemptsLeft) + ".")
{
}

const char* WrongMvaError::what() const noexcept
{
    return message.c_str();
}

MvaLockedError::MvaLockedError(std::string mvaName)
    : message(mvaName + " is blocked.")
{
}

const char* MvaLockedError::what() const noexcept
{
    return message.c_str();
}

const char* LocalPinAlreadyExistsError::what() const noexcept
{
    return "Local PIN already exists.";
}

const char* TooManyTokensError::what() const noexcept
{
    return "Multiple tokens detected. Use filter and strategy options to adjust behavior.";
}

const char* NoVolumeError::what() const noexcept
{
    return "Selected volume doesn't exist.";
}

const char* NoTouchInterfaceError::what() const noexcept
{
    return "Operation isn't supported on tokens without touch interface.";
}

const char* NoTokenError::what() const noexcept
{
    return "No token found.";
}

const char* NoPinPolicyError::what() const noexcept
{
    return "Missing PIN policy.";
}

const char* NoDriveError::what() const noexcept
{
    return "Operation isn't supported on tokens without flash memory.";
}

const char* OperationFailedError::what() const noexcept
{
    return "Operation failed.";
}

const char* NoMvaSupportError::what() const noexcept
{
    return "Operation isn't supported on tokens without MVA support.";
}

const char* NoJournalSupportError::what() const noexcept
{
    return "Operation isn't supported on tokens that don't support journal volumes.";
}

const char* InvalidVolumeOwnerCombinationError::what() const noexcept
{
    return "Unsupported combination of section owners provided.";
}

const char* NoSecretError::what() const noexcept
{
    return "Couldn't find the specified secret.";
}

const char* NotLocalUserObjectError::what() const noexcept
{
    return "The specified object isn't a local user.";
}

const char* NotMvaObjectError::what() const noexcept
{
    return "The specified object isn't an MVA.";
}

const char* GenSettingsMissingError::what() const noexcept
{
    return "Generation settings don't satisfy PIN policies.";
}

const char* TooShortGeneratedPinLength::what() const noexcept
{
    return "The specified PIN length doesn't comply with the PIN policy.";
}

const char* UnsupportedAuthTypeError::what() const noexcept
{
    return "Couldn't modify the volume's access mode because it's protected with an unsupported authentication type.";
}

const char* UnnecessaryPinProvidedError::what() const noexcept
{
    return "PIN is provided but not required.";
}

const char* MissingPinError::what() const noexcept
{
    return "PIN is required but not provided.";
}

const char* UnnecessaryLocalPinIdProvidedError::what() const noexcept
{
    return "Secret id is provided but not required.";
}

const char* MissingLocalPinIdError::what() const noexcept
{
    return "Secret id is required but not provided.";
}
