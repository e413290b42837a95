#include "cli/internalError.h"

const char* UnknownError::what() const noexcept
{
    return "Something went wrong.";
}

const char* PinManagerUnpreparedError::what() const noexcept
{
    return "PinManager is not prepared.";
}

const char* UnknownPinChangePolicyError::what() const noexcept
{
    return "Unknown PIN change policy.";
}

const char* UnknownAccessModeError::what() const noexcept
{
    return "Unknown access mode.";
}

const char* UnknownTouchModeError::what() const noexcept
{
    return "Unknown touch mode.";
}

const char* UnknownUserTypeError::what() const noexcept
{
    return "Unknown user type.";
}

const char* UnknownVolumeOwnerError::what() const noexcept
{
    return "Unknown volume owner.";
}

const char* UnknownTokenClassError::what() const noexcept
{
    return "Unknown token class.";
}

const char* UnknownLanguageError::what() const noexcept
{
    return "Unknown language.";
}

const char* NoRecordError::what() const noexcept
{
    return "Record does not exist.";
}

const char* RecordAlreadyExistsError::what() const noexcept
{
    return "Record already exists.";
}

const char* NoCommandRecordError::what() const noexcept
{
    return "Command record does not exist.";
}

const char* CommandRecordAlreadyExistsError::what() const noexcept
{
    return "Command record already exists.";
}

const char* NotPrintableTypeError::what() const noexcept
{
    return "Type cannot be printed.";
}

const char* PinRegenerationError::what() const noexcept
{
    return "Failed to generate a suitable PIN. Please try again or specify a custom PIN.";
}

const char* WrongCliTokensCount::what() const noexcept
{
    return "Wrong tokens count.";
}

const char* UnknownSectionTypeError::what() const noexcept
{
    return "Unknown section type.";
}

const char* InvalidVolumeOwnerError::what() const noexcept
{
    return "Invalid volume owner.";
}
