#include <qvflash-core/local/MVAImpl.h>

#include <qvflash-core/apdu/LocalLoginApdu.h>
#include <qvflash-core/apdu/RecordApdu.h>
#include <qvflash-core/local/LocalLoginDirectory.h>
#include <qvflash-core/login/MVALogin.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

namespace qvfl {
namespace {

constexpr std::size_t kMaxRecordSize = 249;

} // namespace

std::shared_ptr<MVAImpl> MVAImpl::wrapMva(std::shared_ptr<Scard> scard, unsigned short id)
{
    return std::make_shared<MVAImpl>(std::move(scard), id);
}

MVAImpl::MVAImpl(std::shared_ptr<Scard> scard, unsigned short id) : scard(std::move(scard)), id(id) {}

FCP::VrRsfResponseWrap MVAImpl::selectMva() const
{
    std::vector<std::uint8_t> fcp = LocalLoginDirectory(scard).selectFile(id);
    return FCP::VrRsfResponseWrap::makeFromTLVResponse(fcp);
}

void MVAImpl::appendRecord(const std::vector<std::uint8_t>& record) const
{
    transmitChecked(*scard, AppendRecord(record));
}

void MVAImpl::updateRecord(unsigned char recordNumber, const std::vector<std::uint8_t>& record) const
{
    transmitChecked(*scard, UpdateRecord(recordNumber, record));
}

unsigned char MVAImpl::addRecord(const std::vector<std::uint8_t>& record)
{
    if (record.empty() || record.size() > kMaxRecordSize) {
        throw Exception(QVFLASH_ST_INVALID_RECORD_SIZE);
    }
    const ScardLocker lock(scard);
    const FCP::VrRsfResponseWrap fcp = selectMva();
    // Counted past 255, so that a full list of 255 records appends instead of
    // overwriting record 0.
    const std::uint16_t first = fcp.getFirstEmptyRecordId();
    if (first > fcp.recordStatus.recordStates.size()) {
        appendRecord(record);
        const auto& info = fcp.descriptor.recordInfo;
        return static_cast<unsigned char>(info ? info->recordCount + 1 : 1);
    }
    const auto number = static_cast<unsigned char>(first);
    updateRecord(number, record);
    return number;
}

std::shared_ptr<Login> MVAImpl::createLogin(std::vector<std::uint8_t> record)
{
    return std::make_shared<MVALogin>(std::move(record), id);
}

std::shared_ptr<Login> MVAImpl::createLogin(Login::NoAuthNeed_t)
{
    return std::make_shared<MVALogin>(id, Login::NoAuthNeed_t{});
}

void MVAImpl::eraseRecordFromMva(unsigned char recordNumber)
{
    if (recordNumber == 0) {
        throw Exception(QVFLASH_ST_RECORD_NOT_FOUND);
    }
    const ScardLocker lock(scard);
    const FCP::VrRsfResponseWrap fcp = selectMva();
    if (recordNumber > fcp.recordStatus.recordStates.size()) {
        throw Exception(QVFLASH_ST_RECORD_NOT_FOUND);
    }
    transmitChecked(*scard, EraseRecord(recordNumber));
}

void MVAImpl::clear()
{
    const ScardLocker lock(scard);
    const FCP::VrRsfResponseWrap fcp = selectMva();
    if (!fcp.recordStatus.recordStates.empty()) {
        transmitChecked(*scard, EraseRecord(EraseRecord::AllRecords{}));
    }
}

void MVAImpl::unblock()
{
    const ScardLocker lock(scard);
    transmitChecked(*scard, ApduCommand::UnblockLchvRsf(id));
}

unsigned short MVAImpl::getId()
{
    return id;
}

} // namespace qvfl
