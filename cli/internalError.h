#pragma once

#include "cli/ErrorFamily.h"

// Errors that mark a state the program does not expect.
QV_ERROR_ROOT(internalError);

QV_ERROR(UnknownError, internalError, (), "Something went wrong.");
QV_ERROR(PinManagerUnpreparedError, internalError, (), "PinManager is not prepared.");
QV_ERROR(UnknownPinChangePolicyError, internalError, (), "Unknown PIN change policy.");
QV_ERROR(UnknownAccessModeError, internalError, (), "Unknown access mode.");
QV_ERROR(UnknownTouchModeError, internalError, (), "Unknown touch mode.");
QV_ERROR(UnknownUserTypeError, internalError, (), "Unknown user type.");
QV_ERROR(UnknownVolumeOwnerError, internalError, (), "Unknown volume owner.");
QV_ERROR(UnknownTokenClassError, internalError, (), "Unknown token class.");
QV_ERROR(UnknownLanguageError, internalError, (), "Unknown language.");
QV_ERROR(NoRecordError, internalError, (), "Record does not exist.");
QV_ERROR(RecordAlreadyExistsError, internalError, (), "Record already exists.");
QV_ERROR(NoCommandRecordError, internalError, (), "Command record does not exist.");
QV_ERROR(CommandRecordAlreadyExistsError, internalError, (), "Command record already exists.");
QV_ERROR(NotPrintableTypeError, internalError, (), "Type cannot be printed.");
QV_ERROR(PinRegenerationError, internalError, (),
         "Failed to generate a suitable PIN. Please try again or specify a custom PIN.");
QV_ERROR(WrongCliTokensCount, internalError, (), "Wrong tokens count.");
QV_ERROR(UnknownSectionTypeError, internalError, (), "Unknown section type.");
QV_ERROR(InvalidVolumeOwnerError, internalError, (), "Invalid volume owner.");
