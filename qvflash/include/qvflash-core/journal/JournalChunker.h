#pragma once

#include <qvflash-core/PcInfo.h>
#include <qvflash-core/apdu/TLV.h>

#include <cstdint>
#include <vector>

namespace qvfl {

// Encodes one host record as the journal's stream of five TLV objects (C1 to
// C5) and cuts it into the data of chained journal commands: the first chunk
// announces the stream length (80 02 T1 T2), then each chunk carries one
// piece as A5 n and n stream bytes, at most 255 bytes in all.
class JournalChunker {
public:
    // Empty strings become "NONE"; a string of 256 bytes or more throws 100025.
    explicit JournalChunker(PcInfo&& info);

    std::vector<std::vector<std::uint8_t>> chunks();

private:
    // Appends one chunk holding piece (at most 253 bytes).
    static void addChunk(std::vector<std::vector<std::uint8_t>>& chunks, const std::vector<std::uint8_t>& piece,
                         bool first);
    // The next part of tlv that fits freeSpace bytes of the current piece:
    // tag and length first when it starts the object.
    std::vector<std::uint8_t> createDataBlock(const TLV& tlv, std::size_t freeSpace);

    std::vector<std::vector<std::uint8_t>> values;
    std::size_t tlvOffset = 0;
};

} // namespace qvfl
