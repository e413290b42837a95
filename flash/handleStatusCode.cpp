#include "flash/handleStatusCode.h"

#include "flash/QvflashException.h"

#include <map>

namespace quorvik::qvflash {
namespace {

std::map<qvflash_StatusCode, std::string>& getWhatMap()
{
    static std::map<qvflash_StatusCode, std::string> messages;
    return messages;
}

} // namespace

void handleStatusCode(qvflash_StatusCode code)
{
    if (code == QVFLASH_ST_OK)
        return;
    const auto& messages = getWhatMap();
    const auto found = messages.find(code);
    QvflashException::emit(code, found == messages.end() ? std::nullopt : std::optional<std::string>(found->second));
}

void registerWhat(qvflash_StatusCode code, const std::string& text)
{
    getWhatMap()[code] = text;
}

} // namespace quorvik::qvflash
