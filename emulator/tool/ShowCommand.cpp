#include "ToolArguments.h"
#include "ToolCommand.h"

#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenStateCodec.h>

namespace qvtoken::tool {

int runShow(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const ToolArguments args(words, {}, {});
    const std::uint64_t serial = serialArgument(args.positionals());
    const auto token = store.load(serial);
    if (!token)
        throw TokenNotFoundError(std::to_string(serial));
    writeTokenState(out, *token);
    return 0;
}

} // namespace qvtoken::tool
