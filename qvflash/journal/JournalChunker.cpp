#include <qvflash-core/journal/JournalChunker.h>

#include <qvflash-core/errors/Exception.h>

#include <algorithm>
#include <array>

namespace qvfl {
namespace {

constexpr std::array<std::uint8_t, 5> kTags{0xC1, 0xC2, 0xC3, 0xC4, 0xC5};
constexpr std::size_t kMaxStringSize = 255;
constexpr char kEmptyString[] = "NONE";
constexpr std::size_t kTimeSize = 8;

constexpr std::uint8_t kLengthTag = 0x80;
constexpr std::uint8_t kLengthSize = 0x02;
constexpr std::uint8_t kPieceTag = 0xA5;
// Stream bytes per chunk: the first chunk also carries the four bytes of the
// stream length.
constexpr std::size_t kFirstCapacity = 249;
constexpr std::size_t kLaterCapacity = 253;
// A piece always keeps room for a tag and a length byte.
constexpr std::size_t kHeaderRoom = 2;
constexpr std::size_t kTotalOffset = 2;

std::vector<std::uint8_t> stringValue(std::string& text)
{
    if (text.empty()) {
        text = kEmptyString;
    }
    if (text.size() > kMaxStringSize) {
        throw Exception(QVFLASH_ST_INVALID_STRING_SIZE);
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> timeValue(std::int64_t time)
{
    const auto bits = static_cast<std::uint64_t>(time); // two's complement
    std::vector<std::uint8_t> value(kTimeSize);
    for (std::size_t i = 0; i < kTimeSize; ++i) {
        value[i] = static_cast<std::uint8_t>(bits >> (8 * (kTimeSize - 1 - i)));
    }
    return value;
}

} // namespace

JournalChunker::JournalChunker(PcInfo&& info)
{
    for (std::string* text : {&info.userName, &info.domainName, &info.osVersion, &info.deviceName}) {
        values.push_back(stringValue(*text));
    }
    values.push_back(timeValue(info.time));
}

std::vector<std::vector<std::uint8_t>> JournalChunker::chunks()
{
    std::vector<std::vector<std::uint8_t>> result;
    std::vector<std::uint8_t> piece;
    std::size_t total = 0;
    std::size_t index = 0;
    tlvOffset = 0;
    while (index < values.size()) {
        const std::size_t capacity = result.empty() ? kFirstCapacity : kLaterCapacity;
        const std::size_t freeSpace = capacity - piece.size();
        if (freeSpace > kHeaderRoom) {
            const std::vector<std::uint8_t>& value = values[index];
            const TLV tlv{kTags[index], value.begin(), value.end()};
            const std::vector<std::uint8_t> block = createDataBlock(tlv, freeSpace);
            piece.insert(piece.end(), block.begin(), block.end());
            if (tlvOffset == 0) {
                ++index;
            }
        }
        if (piece.size() >= capacity - kHeaderRoom) {
            addChunk(result, piece, result.empty());
            total += piece.size();
            piece.clear();
        }
    }
    // The last chunk ends the chain, even when it carries nothing.
    addChunk(result, piece, result.empty());
    total += piece.size();
    result.front()[kTotalOffset] = static_cast<std::uint8_t>(total >> 8);
    result.front()[kTotalOffset + 1] = static_cast<std::uint8_t>(total);
    return result;
}

void JournalChunker::addChunk(std::vector<std::vector<std::uint8_t>>& chunks, const std::vector<std::uint8_t>& piece,
                              bool first)
{
    std::vector<std::uint8_t> chunk;
    if (first) {
        chunk = {kLengthTag, kLengthSize, 0x00, 0x00};
    }
    chunk.push_back(kPieceTag);
    chunk.push_back(static_cast<std::uint8_t>(piece.size()));
    chunk.insert(chunk.end(), piece.begin(), piece.end());
    chunks.push_back(std::move(chunk));
}

std::vector<std::uint8_t> JournalChunker::createDataBlock(const TLV& tlv, std::size_t freeSpace)
{
    const std::size_t take = std::min(tlv.size() - tlvOffset, freeSpace - kHeaderRoom);
    std::vector<std::uint8_t> block;
    if (tlvOffset == 0) {
        block.push_back(tlv.tag);
        block.push_back(static_cast<std::uint8_t>(tlv.size()));
    }
    block.insert(block.end(), tlv.begin + static_cast<std::ptrdiff_t>(tlvOffset),
                 tlv.begin + static_cast<std::ptrdiff_t>(tlvOffset + take));
    tlvOffset += take;
    if (tlvOffset == tlv.size()) {
        tlvOffset = 0;
    }
    return block;
}

} // namespace qvfl
