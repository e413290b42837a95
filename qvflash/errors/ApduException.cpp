#include <qvflash-core/errors/ApduException.h>

#include <unordered_map>

namespace qvfl {
namespace {

const std::unordered_map<std::uint16_t, qvflash_StatusCode> apduSwToExcCode = {
    {0x6A82, QVFLASH_ST_FILE_NOT_FOUND},
    {0x6982, QVFLASH_ST_INVALID_RIGHTS},
    {0x6A81, QVFLASH_ST_UNSUPPORTED_MODE_OF_COMMAND},
    {0x6D00, QVFLASH_ST_COMMAND_NOT_SUPPORTED},
    {0x6300, QVFLASH_ST_VERIFY_FAILED},
    {0x6A86, QVFLASH_ST_INCORRECT_PARAMETERS},
    {0x6983, QVFLASH_ST_OBJECT_BLOCKED},
    {0x6700, QVFLASH_ST_WRONG_DATA_LENGTH},
    {0x6381, QVFLASH_ST_NO_SPACE_FOR_RECORD},
    {0x6F8C, QVFLASH_ST_WRONG_PIN_POLITICS},
    {0x6F8D, QVFLASH_ST_PIN_REUSE_ERROR},
    {0x6985, QVFLASH_ST_CONDITIONS_OF_USE_NOT_SATISFIED},
    {0x6F86, QVFLASH_ST_DOUBLE_LOGIN},
    {0x6A80, QVFLASH_ST_INVALID_DATA},
    {0x6A84, QVFLASH_ST_NO_MEMORY},
    {0x6400, QVFLASH_ST_COMMAND_FAILED},
    {0x6F87, QVFLASH_ST_DEVICE_BROKEN},
    {0x6A88, QVFLASH_ST_REFERENCE_DATA_NOT_FOUND},
    {0x6989, QVFLASH_ST_COMMAND_NOT_ALLOWED},
};

// An unknown word is still reported, as an internal error that keeps the word.
qvflash_StatusCode statusOfWord(std::uint16_t statusWord)
{
    const auto row = apduSwToExcCode.find(statusWord);
    return row != apduSwToExcCode.end() ? row->second : QVFLASH_ST_INTERNAL_ERROR;
}

} // namespace

ApduException::ApduException(std::uint16_t statusWord)
    : Exception(statusOfWord(statusWord), {Condition(QVFLASH_COND_APDU_STATUS, static_cast<std::int64_t>(statusWord))})
{
}

} // namespace qvfl
