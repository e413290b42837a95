#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <vector>

namespace qvfl {

// The data field of a record write: 80 02 00 L, then A5 L and the L record
// bytes (one-byte lengths; records hold at most 249 bytes).
std::vector<std::uint8_t> recordDataField(const std::vector<std::uint8_t>& record);

// APPEND RECORD (00 E2 00 00) to the current file.
class AppendRecord : public Apdu {
public:
    explicit AppendRecord(const std::vector<std::uint8_t>& record);
};

// UPDATE RECORD (00 DC n 04): overwrites record n of the current file.
class UpdateRecord : public Apdu {
public:
    UpdateRecord(std::uint8_t recordNumber, const std::vector<std::uint8_t>& record);
};

// ERASE RECORD (00 0C): one record (P2 04), or from record 1 to the last (P2 05).
class EraseRecord : public Apdu {
public:
    struct AllRecords {};

    explicit EraseRecord(std::uint8_t recordNumber);
    explicit EraseRecord(AllRecords);
};

} // namespace qvfl
