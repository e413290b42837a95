#pragma once

#include "cli/ErrorFamily.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Errors about the tokens found or the operation asked of them.
QV_ERROR_ROOT(DomainError);

QV_ERROR(PinConfirmationFailedError, DomainError, (const std::string& pinName),
         "Confirmation of " + pinName + " failed.");
QV_ERROR(NoPinGivenError, DomainError, (const std::string& pinName), "No " + pinName + " was given.");
QV_ERROR(PinReadError, DomainError, (), "Couldn't read the PIN from the standard input.");
QV_ERROR(NoneOwnerNotAllowedError, DomainError, (), "Owner can't be 'none' for non-journal sections.");
QV_ERROR(WrongPinError, DomainError, (std::string ownerName, long long attemptsLeft),
         "Incorrect " + ownerName + " PIN. Attempts left: " + std::to_string(attemptsLeft) + ".");
QV_ERROR(PinLockedError, DomainError, (std::string ownerName), ownerName + " PIN is blocked.");
QV_ERROR(WrongMvaError, DomainError, (std::string mvaName, long long attemptsLeft),
         "The host PC wasn't found in " + mvaName + ". Attempts left: " + std::to_string(attemptsLeft) + ".");
QV_ERROR(MvaLockedError, DomainError, (std::string mvaName), mvaName + " is blocked.");
QV_ERROR(LocalPinAlreadyExistsError, DomainError, (), "Local PIN already exists.");
QV_ERROR(TooManyTokensError, DomainError, (),
         "Multiple tokens detected. Use filter and strategy options to adjust behavior.");
QV_ERROR(NoVolumeError, DomainError, (), "Selected volume doesn't exist.");
QV_ERROR(NoTouchInterfaceError, DomainError, (), "Operation isn't supported on tokens without touch interface.");
QV_ERROR(NoTokenError, DomainError, (), "No token found.");
QV_ERROR(NoPinPolicyError, DomainError, (), "Missing PIN policy.");
QV_ERROR(NoDriveError, DomainError, (), "Operation isn't supported on tokens without flash memory.");
QV_ERROR(OperationFailedError, DomainError, (), "Operation failed.");
QV_ERROR(NoMvaSupportError, DomainError, (), "Operation isn't supported on tokens without MVA support.");
QV_ERROR(NoJournalSupportError, DomainError, (),
         "Operation isn't supported on tokens that don't support journal volumes.");
QV_ERROR(InvalidVolumeOwnerCombinationError, DomainError, (), "Unsupported combination of section owners provided.");
QV_ERROR(NoSecretError, DomainError, (), "Couldn't find the specified secret.");
QV_ERROR(NotLocalUserObjectError, DomainError, (), "The specified object isn't a local user.");
QV_ERROR(NotMvaObjectError, DomainError, (), "The specified object isn't an MVA.");
QV_ERROR(GenSettingsMissingError, DomainError, (), "Generation settings don't satisfy PIN policies.");
QV_ERROR(TooShortGeneratedPinLength, DomainError, (), "The specified PIN length doesn't comply with the PIN policy.");
QV_ERROR(TooLongGeneratedPinError, DomainError, (std::size_t length, std::uint64_t maximum),
         "The generated PIN length " + std::to_string(length) + " exceeds the token's maximum PIN length " +
             std::to_string(maximum) + ".");
QV_ERROR(PinChangeRefusedError, DomainError, (const std::string& reason), reason);
QV_ERROR(UnsupportedAuthTypeError, DomainError, (),
         "Couldn't modify the volume's access mode because it's protected with an unsupported authentication type.");
QV_ERROR(UnnecessaryPinProvidedError, DomainError, (), "PIN is provided but not required.");
QV_ERROR(MissingPinError, DomainError, (), "PIN is required but not provided.");
QV_ERROR(UnnecessaryLocalPinIdProvidedError, DomainError, (), "Secret id is provided but not required.");
QV_ERROR(MissingLocalPinIdError, DomainError, (), "Secret id is required but not provided.");
QV_ERROR(RestartAfterChangeError, DomainError, (const std::string& reason, const std::string& change),
         reason + "; the token took " + change + ", only its restart after the change failed.");
QV_ERROR(RunEndedError, DomainError, (), "Not done: the run was ended by a second signal.");
QV_ERROR(PartlyUnblockedError, DomainError, (const std::string& reason, const std::string& counters),
         reason + "; counters reset before the failure: " + counters + "; the others were not reset.");
