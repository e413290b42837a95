#include <qvflash-core/errors/Descriptions.h>

#include <unordered_map>

namespace qvfl {
namespace {

const std::unordered_map<qvflash_StatusCode, std::string_view> kStatusCodeDescriptions = {
    {QVFLASH_ST_OK, "Command executed successfully"},
    {QVFLASH_ST_INTERNAL_ERROR, "An internal error has occurred"},
    {QVFLASH_ST_PCSC_ERROR, "PCSC error"},
    {QVFLASH_ST_NULL_PTR_ARG, "Passed pointer is nil"},
    {QVFLASH_ST_FILE_NOT_FOUND, "File not found"},
    {QVFLASH_ST_INVALID_RIGHTS, "Invalid access rights"},
    {QVFLASH_ST_VERIFY_FAILED, "Data verification failed"},
    {QVFLASH_ST_INCORRECT_PARAMETERS, "Incorrect parameters"},
    {QVFLASH_ST_COMMAND_NOT_SUPPORTED, "Command isn't supported by the device"},
    {QVFLASH_ST_OBJECT_BLOCKED, "The specified object is blocked"},
    {QVFLASH_ST_WRONG_DATA_LENGTH, "Wrong data length"},
    {QVFLASH_ST_NO_SPACE_FOR_RECORD, "Not enough space to add a record to the file"},
    {QVFLASH_ST_WRONG_PIN_POLITICS, "Wrong PIN-code policy"},
    {QVFLASH_ST_PIN_REUSE_ERROR, "PIN-code is in history (recently used). PIN-code hasn't been changed"},
    {QVFLASH_ST_CONDITIONS_OF_USE_NOT_SATISFIED, "Unsuitable command execution conditions"},
    {QVFLASH_ST_DOUBLE_LOGIN, "Login for the specified user has already been created"},
    {QVFLASH_ST_INVALID_DATA, "Invalid data"},
    {QVFLASH_ST_NO_FREE_LOCAL_FILE_ID, "No free IDs for local authentication files"},
    {QVFLASH_ST_NO_MEMORY, "Not enough memory on the device"},
    {QVFLASH_ST_COMMAND_FAILED, "Command execution failed"},
    {QVFLASH_ST_DEVICE_BROKEN, "Integrity violation of the device OS detected"},
    {QVFLASH_ST_UNSUPPORTED_MODE_OF_COMMAND, "Mode of command isn't supported by the device"},
    {QVFLASH_ST_REFERENCE_DATA_NOT_FOUND, "Reference data hasn't been found"},
    {QVFLASH_ST_COMMAND_NOT_ALLOWED,
     "The command is not allowed at this stage (phase) of the object file or flash memory life "
     "cycle"},
    {QVFLASH_ST_INVALID_RECORD_COUNT, "Invalid number of records"},
    {QVFLASH_ST_INVALID_RECORD_SIZE, "Invalid record size"},
    {QVFLASH_ST_INVALID_MVA_SIZE, "Invalid MVA size (max record count * max record size)"},
    {QVFLASH_ST_INVALID_ATTEMPT_COUNT, "Invalid number of access attempts"},
    {QVFLASH_ST_CD_ROM_PERMANENT_ONLY, "Only permanent access rights change is available for the CD-ROM section"},
    {QVFLASH_ST_INVALID_SECTION_ID, "Invalid section ID"},
    {QVFLASH_ST_JOURNAL_READ_ONLY_TEMP, "The journal section can be temporarily switched to read-only mode only"},
    {QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT,
     "The journal section can't be switched to read-only mode if the encrypted section is in "
     "read-only or read-write mode"},
    {QVFLASH_ST_INVALID_SECTION_COUNT, "Invalid section count"},
    {QVFLASH_ST_INVALID_SECTION_SIZE, "Invalid section size"},
    {QVFLASH_ST_INVALID_SECTIONS_TOTAL_SIZE, "Invalid total section size"},
    {QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "The journal events section already exists"},
    {QVFLASH_ST_JOURNAL_EVENTS_MISSING, "The journal events section is missing"},
    {QVFLASH_ST_INVALID_JOURNAL_EVENTS_SIZE, "Invalid journal events section size"},
    {QVFLASH_ST_INVALID_JOURNAL_ACCESS_RIGHTS, "Invalid journal section access rights"},
    {QVFLASH_ST_UNSUPPORTED_SECTION_TYPE, "The specified section type isn't supported by the device"},
    {QVFLASH_ST_INVALID_PROTECT_CONDITIONS, "Invalid protect conditions combination"},
    {QVFLASH_ST_INVALID_SECRET_ID, "Invalid secret ID"},
    {QVFLASH_ST_RECORD_MISMATCH, "Passed record doesn't match any in specified MVA"},
    {QVFLASH_ST_INCORRECT_LOGIN, "Login is incorrect"},
    {QVFLASH_ST_DEVICE_NOT_FOUND, "Couldn't find a device with the specified serial number"},
    {QVFLASH_ST_RECORD_NOT_FOUND, "Couldn't find a record with the specified ID"},
    {QVFLASH_ST_UNEXPECTED_APDU_RESPONSE, "APDU response from the device is invalid"},
    {QVFLASH_ST_INVALID_STRING_SIZE, "Invalid string size"},
    {QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN,
     "The journal section can't be created with forbidden temporarily swiching to read-only "
     "mode"},
    {QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH, "Type of object passed by ID mismatches the expected"},
    {QVFLASH_ST_INVALID_PIN_SIZE, "Invalid PIN-code size"},
    {QVFLASH_ST_INVALID_SECRET_TYPE, "Invalid secret type"},
};

const std::unordered_map<qvflash_ConditionCode, std::string_view> kConditionCodeDescriptions = {
    {QVFLASH_COND_STD_EXCEPTION, "Standard library exception"},
    {QVFLASH_COND_APDU_STATUS, "APDU command status"},
    {QVFLASH_COND_LOCATION, "Exception location"},
    {QVFLASH_COND_PCSC_ERROR_CODE, "PCSC error code"},
    {QVFLASH_COND_PCSC_ERROR_CODE_HEX, "PCSC error code, hex"},
    {QVFLASH_COND_REMAINING_ATTEMPTS, "Remaining number of login attempts"},
    {QVFLASH_COND_TLV_PARSING_ERROR, "TLV structure parsing error"},
    {QVFLASH_COND_APDU_RESPONSE, "APDU response from the device"},
    {QVFLASH_COND_PROTECT_CONDITIONS, "Protect conditions byte"},
    {QVFLASH_COND_MAX_SECTION_COUNT, "Maximum count of sections that can be created in the current partition state"},
    {QVFLASH_COND_AVAILABLE_FLASH_SIZE, "Available flash memory size"},
    {QVFLASH_COND_SECTION_SIZE, "Section size"},
    {QVFLASH_COND_SECTION_TYPE, "Section type"},
    {QVFLASH_COND_SECRET_ID, "Secret ID"},
    {QVFLASH_COND_SECRET_ID_RANGE, "Valid range of secret ID values"},
    {QVFLASH_COND_EXPECTED_SECRET_TYPE, "Expected secret type"},
    {QVFLASH_COND_CHANGE_MADE, "Change made by the card before the failure"},
    {QVFLASH_COND_LAST_REFUSAL, "Last refusal of a card while the token was awaited"},
};

template <typename Code>
std::string_view lookUp(const std::unordered_map<Code, std::string_view>& table, Code code)
{
    const auto row = table.find(code);
    return row != table.end() ? row->second : std::string_view{};
}

} // namespace

std::string_view getStatusDescription(qvflash_StatusCode code)
{
    return lookUp(kStatusCodeDescriptions, code);
}

std::string_view getConditionDescription(qvflash_ConditionCode code)
{
    return lookUp(kConditionCodeDescriptions, code);
}

} // namespace qvfl
