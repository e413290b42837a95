#include <qvflash-core/errors/PcscException.h>

#include <cstdint>
#include <cstdio>

namespace {

// PC/SC codes are 32-bit (0x801000xx); where LONG is wider, the value seen
// by other platforms is the low 32 bits read as signed.
std::int32_t pcscCode(LONG rc)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rc));
}

std::string hexText(std::int32_t code)
{
    char text[11];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<std::uint32_t>(code));
    return text;
}

std::vector<qvfl::Condition> pcscConditions(LONG rc, const std::string& file, const std::string& function,
                                            unsigned long line)
{
    const std::int32_t code = pcscCode(rc);
    return {
        qvfl::Condition(QVFLASH_COND_LOCATION, file + "(" + std::to_string(line) + "): " + function),
        qvfl::Condition(QVFLASH_COND_PCSC_ERROR_CODE, static_cast<std::int64_t>(code)),
        qvfl::Condition(QVFLASH_COND_PCSC_ERROR_CODE_HEX, hexText(code)),
    };
}

} // namespace

PcscException::PcscException(LONG rc, const std::string& file, const std::string& function, unsigned long line)
    : qvfl::Exception(QVFLASH_ST_PCSC_ERROR, pcscConditions(rc, file, function, line))
{
}
