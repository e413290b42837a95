#include <qvflash-core/apdu/FcpTag.h>

namespace qvfl::FCP {

std::uint8_t FcpTag::getTagFullLength() const
{
    return static_cast<std::uint8_t>(length + 2);
}

} // namespace qvfl::FCP
