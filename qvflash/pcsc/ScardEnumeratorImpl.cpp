#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>

#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/pcsc/FailedScard.h>
#include <qvflash-core/pcsc/ScardContext.h>
#include <qvflash-core/pcsc/familyAtr.h>

namespace qvfl {

std::vector<PcscString> splitReaderNames(const std::vector<char>& multiString)
{
    std::vector<PcscString> names;
    PcscString name;
    for (const char byte : multiString) {
        if (byte != '\0') {
            name.push_back(byte);
        } else if (!name.empty()) {
            names.push_back(std::move(name));
            name.clear();
        }
    }
    if (!name.empty()) {
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<PcscString> listReaders(SCARDCONTEXT context)
{
    constexpr char kFunction[] = "std::vector<PcscString> qvfl::listReaders(SCARDCONTEXT)";
    DWORD size = 0;
    LONG rc = SCardListReaders(context, nullptr, nullptr, &size);
    if (rc == SCARD_E_NO_READERS_AVAILABLE) {
        return {};
    }
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, kFunction, __LINE__);
    }
    std::vector<char> buffer(size, '\0');
    // A reader that disappears between the two calls is a failure, too.
    rc = SCardListReaders(context, nullptr, buffer.data(), &size);
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, kFunction, __LINE__);
    }
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    return splitReaderNames(buffer);
}

bool isReaderEmpty(const PcscString& readerName, const SCARDCONTEXT context)
{
    SCARD_READERSTATE state{};
    state.szReader = readerName.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    const LONG rc = SCardGetStatusChange(context, 0, &state, 1);
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, "bool qvfl::isReaderEmpty(const PcscString &, const SCARDCONTEXT)", __LINE__);
    }
    return (state.dwEventState & SCARD_STATE_PRESENT) == 0;
}

std::vector<std::shared_ptr<Scard>> ScardEnumeratorImpl::enumScards()
{
    const ScardContext context("virtual std::vector<std::shared_ptr<Scard>> "
                               "qvfl::ScardEnumeratorImpl::enumScards()");
    std::vector<std::shared_ptr<Scard>> cards;
    for (const PcscString& readerName : listReaders(context.get())) {
        try {
            if (isReaderEmpty(readerName, context.get())) {
                continue;
            }
            // A card of another family is disconnected again when card goes away.
            auto card = std::make_shared<ScardImpl>(readerName);
            if (isFamilyCard(card->getHistBytes())) {
                cards.push_back(std::move(card));
            }
        } catch (const PcscException&) {
            // A card leaving or coming back while it is looked at: whether it is of the family
            // cannot be told, so it is kept as a card that cannot be used.
            cards.push_back(std::make_shared<FailedScard>(std::current_exception()));
        }
    }
    return cards;
}

} // namespace qvfl
