#pragma once

#include "flash/StatusCondition.h"
#include "qvflash.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

// One exception class per status the flash library may return; `emit` picks it.
// Each row: the class, then the status, whose name is the text of last resort.
#define QV_QVFLASH_STATUS_CODES(X)                                                                                     \
    X(InternalErrorException, QVFLASH_ST_INTERNAL_ERROR)                                                               \
    X(PcscErrorException, QVFLASH_ST_PCSC_ERROR)                                                                       \
    X(NullPtrArgException, QVFLASH_ST_NULL_PTR_ARG)                                                                    \
    X(ApduErrorException, QVFLASH_ST_APDU_ERROR)                                                                       \
    X(FileNotFoundException, QVFLASH_ST_FILE_NOT_FOUND)                                                                \
    X(InvalidRightsException, QVFLASH_ST_INVALID_RIGHTS)                                                               \
    X(VerifyFailedException, QVFLASH_ST_VERIFY_FAILED)                                                                 \
    X(IncorrectParametersException, QVFLASH_ST_INCORRECT_PARAMETERS)                                                   \
    X(CommandNotSupportedException, QVFLASH_ST_COMMAND_NOT_SUPPORTED)                                                  \
    X(ObjectBlockedException, QVFLASH_ST_OBJECT_BLOCKED)                                                               \
    X(WrongDataLengthException, QVFLASH_ST_WRONG_DATA_LENGTH)                                                          \
    X(NoSpaceForRecordException, QVFLASH_ST_NO_SPACE_FOR_RECORD)                                                       \
    X(WrongPinPoliticsException, QVFLASH_ST_WRONG_PIN_POLITICS)                                                        \
    X(PinReuseErrorException, QVFLASH_ST_PIN_REUSE_ERROR)                                                              \
    X(ConditionsOfUseNotSatisfiedException, QVFLASH_ST_CONDITIONS_OF_USE_NOT_SATISFIED)                                \
    X(DoubleLoginException, QVFLASH_ST_DOUBLE_LOGIN)                                                                   \
    X(InvalidDataException, QVFLASH_ST_INVALID_DATA)                                                                   \
    X(NoFreeLocalFileIdException, QVFLASH_ST_NO_FREE_LOCAL_FILE_ID)                                                    \
    X(NoMemoryException, QVFLASH_ST_NO_MEMORY)                                                                         \
    X(CommandFailedException, QVFLASH_ST_COMMAND_FAILED)                                                               \
    X(DeviceBrokenException, QVFLASH_ST_DEVICE_BROKEN)                                                                 \
    X(UnsupportedModeOfCommandException, QVFLASH_ST_UNSUPPORTED_MODE_OF_COMMAND)                                       \
    X(ObjectExistsException, QVFLASH_ST_OBJECT_EXISTS)                                                                 \
    X(LogicErrorException, QVFLASH_ST_LOGIC_ERROR)                                                                     \
    X(InvalidRecordCountException, QVFLASH_ST_INVALID_RECORD_COUNT)                                                    \
    X(InvalidRecordSizeException, QVFLASH_ST_INVALID_RECORD_SIZE)                                                      \
    X(InvalidMvaSizeException, QVFLASH_ST_INVALID_MVA_SIZE)                                                            \
    X(InvalidAttemptCountException, QVFLASH_ST_INVALID_ATTEMPT_COUNT)                                                  \
    X(CdRomPermanentOnlyException, QVFLASH_ST_CD_ROM_PERMANENT_ONLY)                                                   \
    X(InvalidSectionIdException, QVFLASH_ST_INVALID_SECTION_ID)                                                        \
    X(JournalReadOnlyTempException, QVFLASH_ST_JOURNAL_READ_ONLY_TEMP)                                                 \
    X(JournalRoEncryptedConflictException, QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT)                                   \
    X(InvalidSectionCountException, QVFLASH_ST_INVALID_SECTION_COUNT)                                                  \
    X(InvalidSectionSizeException, QVFLASH_ST_INVALID_SECTION_SIZE)                                                    \
    X(InvalidSectionsTotalSizeException, QVFLASH_ST_INVALID_SECTIONS_TOTAL_SIZE)                                       \
    X(JournalEventsAlreadyExistsException, QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS)                                   \
    X(JournalEventsMissingException, QVFLASH_ST_JOURNAL_EVENTS_MISSING)                                                \
    X(InvalidJournalEventsSizeException, QVFLASH_ST_INVALID_JOURNAL_EVENTS_SIZE)                                       \
    X(InvalidJournalAccessRightsException, QVFLASH_ST_INVALID_JOURNAL_ACCESS_RIGHTS)                                   \
    X(UnsupportedSectionTypeException, QVFLASH_ST_UNSUPPORTED_SECTION_TYPE)                                            \
    X(InvalidProtectConditionsException, QVFLASH_ST_INVALID_PROTECT_CONDITIONS)                                        \
    X(InvalidSecretIdException, QVFLASH_ST_INVALID_SECRET_ID)                                                          \
    X(RecordMismatchException, QVFLASH_ST_RECORD_MISMATCH)                                                             \
    X(IncorrectLoginException, QVFLASH_ST_INCORRECT_LOGIN)                                                             \
    X(DeviceNotFoundException, QVFLASH_ST_DEVICE_NOT_FOUND)                                                            \
    X(RecordNotFoundException, QVFLASH_ST_RECORD_NOT_FOUND)                                                            \
    X(UnexpectedApduResponseException, QVFLASH_ST_UNEXPECTED_APDU_RESPONSE)                                            \
    X(InvalidStringSizeException, QVFLASH_ST_INVALID_STRING_SIZE)                                                      \
    X(JournalReadOnlyForbiddenException, QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN)                                       \
    X(ObjectIdTypeMismatchException, QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH)                                               \
    X(InvalidPinSizeException, QVFLASH_ST_INVALID_PIN_SIZE)

namespace quorvik::qvflash {

// Root of every error the flash library reports: its status and the conditions the library
// recorded for the failing call on this thread.
class QvflashException : public std::exception {
public:
    // Returns for 0; otherwise throws the class of `code` (with `message` in place of the
    // library's wording), or UnknownException for a status without a class.
    static void emit(qvflash_StatusCode code, std::optional<std::string> message);

    qvflash_StatusCode getCode() const noexcept { return code_; }
    std::vector<StatusCondition> getConditions() const { return conditions_; }

protected:
    // Reads the calling thread's conditions, so it must run right after the failed call.
    explicit QvflashException(qvflash_StatusCode code);

private:
    qvflash_StatusCode code_;
    std::vector<StatusCondition> conditions_;
};

#define QV_QVFLASH_DECLARE_STATUS_EXCEPTION(Class, code)                                                               \
    class Class : public QvflashException {                                                                            \
    public:                                                                                                            \
        static constexpr const char* kStatusName = #code;                                                              \
        explicit Class(std::optional<std::string> message = std::nullopt);                                             \
        const char* what() const noexcept override;                                                                    \
                                                                                                                       \
    private:                                                                                                           \
        std::string what_;                                                                                             \
    };
QV_QVFLASH_STATUS_CODES(QV_QVFLASH_DECLARE_STATUS_EXCEPTION)
#undef QV_QVFLASH_DECLARE_STATUS_EXCEPTION

// A status the program has no class for, among them codes the library itself describes: the
// program words these itself and ignores registered messages.
class UnknownException : public QvflashException {
public:
    explicit UnknownException(qvflash_StatusCode code);
    const char* what() const noexcept override;

private:
    std::string what_;
};

// The library's English text for `code`, if it has one.
std::optional<std::string> getStatusDescription(qvflash_StatusCode code);

} // namespace quorvik::qvflash
