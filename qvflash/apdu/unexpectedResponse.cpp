#include <qvflash-core/apdu/unexpectedResponse.h>

#include <string>

namespace qvfl {

Exception unexpectedResponse(const char* text)
{
    return Exception(QVFLASH_ST_UNEXPECTED_APDU_RESPONSE, {Condition(QVFLASH_COND_APDU_RESPONSE, std::string(text))});
}

} // namespace qvfl
