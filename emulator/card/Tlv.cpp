#include "Tlv.h"

namespace qvcard {

void appendTlv(Bytes& out, std::uint8_t tag, const Bytes& value)
{
    out.push_back(tag);
    const std::size_t n = value.size();
    if (n > 0xFF) {
        out.push_back(0x82);
        out.push_back(static_cast<std::uint8_t>(n >> 8));
    } else if (n > 0x7F) {
        out.push_back(0x81);
    }
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), value.begin(), value.end());
}

std::vector<Tlv> parseTlvs(const Bytes& buffer)
{
    std::vector<Tlv> tlvs;
    std::size_t pos = 0;
    while (pos < buffer.size()) {
        Tlv tlv;
        tlv.tag = buffer[pos++];
        if ((tlv.tag & 0x1F) == 0x1F || pos >= buffer.size()) {
            throw MalformedTlv();
        }
        std::size_t length = buffer[pos++];
        if (length > 0x7F) {
            const std::size_t count = length - 0x80;
            if (count < 1 || count > 2 || buffer.size() - pos < count) {
                throw MalformedTlv();
            }
            length = 0;
            for (std::size_t i = 0; i < count; ++i) {
                length = (length << 8) | buffer[pos++];
            }
            if (length <= 0x7F || (count == 2 && length <= 0xFF)) {
                throw MalformedTlv();
            }
        }
        if (buffer.size() - pos < length) {
            throw MalformedTlv();
        }
        tlv.value.assign(buffer.begin() + static_cast<std::ptrdiff_t>(pos),
                         buffer.begin() + static_cast<std::ptrdiff_t>(pos + length));
        pos += length;
        tlvs.push_back(std::move(tlv));
    }
    return tlvs;
}

} // namespace qvcard
