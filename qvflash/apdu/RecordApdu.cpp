#include <qvflash-core/apdu/RecordApdu.h>

#include <qvflash-core/apdu/lengthTaggedField.h>

#include <optional>

namespace qvfl {
namespace {

constexpr std::uint8_t kClass = 0x00;
constexpr std::uint8_t kAppendRecord = 0xE2;
constexpr std::uint8_t kUpdateRecord = 0xDC;
constexpr std::uint8_t kEraseRecord = 0x0C;
// P2 04: the record numbered P1; P2 05: from record P1 to the last.
constexpr std::uint8_t kRecordNumber = 0x04;
constexpr std::uint8_t kFromRecordOn = 0x05;
constexpr std::uint8_t kFirstRecord = 0x01;

constexpr std::uint8_t kRecordTag = 0xA5;

} // namespace

std::vector<std::uint8_t> recordDataField(const std::vector<std::uint8_t>& record)
{
    return lengthTaggedField(kRecordTag, record);
}

AppendRecord::AppendRecord(const std::vector<std::uint8_t>& record)
    : Apdu(kClass, kAppendRecord, 0x00, 0x00, recordDataField(record), std::nullopt)
{
}

UpdateRecord::UpdateRecord(std::uint8_t recordNumber, const std::vector<std::uint8_t>& record)
    : Apdu(kClass, kUpdateRecord, recordNumber, kRecordNumber, recordDataField(record), std::nullopt)
{
}

EraseRecord::EraseRecord(std::uint8_t recordNumber)
    : Apdu(kClass, kEraseRecord, recordNumber, kRecordNumber, std::nullopt, std::nullopt)
{
}

EraseRecord::EraseRecord(AllRecords)
    : Apdu(kClass, kEraseRecord, kFirstRecord, kFromRecordOn, std::nullopt, std::nullopt)
{
}

} // namespace qvfl
