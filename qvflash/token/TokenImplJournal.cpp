#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/apdu/SectionApdu.h>
#include <qvflash-core/journal/JournalChunker.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

namespace qvfl {
namespace {

constexpr std::uint8_t kChained = 0x10;
constexpr std::uint8_t kLast = 0x00;

} // namespace

void TokenImpl::logPcInfo(PcInfo&& info)
{
    bool journal = false;
    for (const auto& entry : getSectionsAttributes()) {
        journal = journal || entry.second.type == Section::Type::JournalEvents;
    }
    if (!journal) {
        throw Exception(QVFLASH_ST_JOURNAL_EVENTS_MISSING);
    }
    const std::vector<std::vector<std::uint8_t>> chunks = JournalChunker(std::move(info)).chunks();

    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        sendChunk(i + 1 < chunks.size() ? kChained : kLast, chunks[i]);
    }
}

void TokenImpl::sendChunk(std::uint8_t cla, const std::vector<std::uint8_t>& chunk)
{
    transmitChecked(*scard, ApduCommand::JournaInformation(cla, chunk));
}

} // namespace qvfl
