#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/apdu/SectionApdu.h>
#include <qvflash-core/apdu/bigEndian.h>
#include <qvflash-core/apdu/unexpectedResponse.h>
#include <qvflash-core/errors/PcscException.h>
#include <qvflash-core/errors/failureText.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>
#include <qvflash-core/sections/SectionTlv.h>
#include <qvflash-core/sections/sectionRules.h>
#include <qvflash-core/token/TokenEnumerator.h>

#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qvfl {
namespace {

constexpr std::size_t kTotalFlashSize = 4;

// The card with this serial among the cards present now; null when there is
// none. A card that cannot tell its serial is passed over: another token's
// trouble, or this token half-way back on the bus. Not even a refusal ends the
// look, whichever reader it comes from: while the token is away another card
// may take its reader, so only its own serial tells the token. The last refusal
// is kept in `lastRefusal` for the failure at the deadline.
std::shared_ptr<Scard> findToken(ScardEnumerator& enumerator, std::uint64_t serial,
                                 std::optional<Exception>& lastRefusal)
{
    std::vector<std::shared_ptr<Scard>> cards;
    try {
        cards = enumerator.enumScards();
    } catch (const PcscException&) {
        return nullptr;
    }
    for (const std::shared_ptr<Scard>& card : cards) {
        try {
            if (TokenEnumerator::getTokenSerial(card) == serial) {
                return card;
            }
        } catch (const PcscException&) {
            continue;
        } catch (const Exception& refusal) {
            lastRefusal = refusal;
        }
    }
    return nullptr;
}

// The reset's failure at the deadline: the token did not come back, with the
// last refusal seen meanwhile when there was one.
Exception notBack(const std::optional<Exception>& lastRefusal)
{
    std::vector<Condition> conditions;
    if (lastRefusal) {
        conditions.emplace_back(QVFLASH_COND_LAST_REFUSAL, failureText(*lastRefusal));
    }
    return Exception(QVFLASH_ST_DEVICE_NOT_FOUND, std::move(conditions));
}

} // namespace

SectionMap TokenImpl::getSectionsAttributes() const
{
    const ScardLocker lock(scard);
    return SectionTlv::parseSections(transmitChecked(*scard, GetSectionsAttributesApdu()));
}

std::uint32_t TokenImpl::getSizeAvailableForFormatting()
{
    const ScardLocker lock(scard);
    const std::vector<std::uint8_t> data = transmitChecked(*scard, CountTotalFlashMemory());
    if (data.size() != kTotalFlashSize) {
        throw unexpectedResponse(kResponseLengthMismatch);
    }
    std::uint64_t journals = 0;
    for (const auto& entry : getSectionsAttributes()) {
        if (entry.second.isJournal()) {
            journals += entry.second.size;
        }
    }
    const auto total = static_cast<std::uint32_t>(fromBufferBe(data.begin(), data.end()));
    if (total == 0 || total < journals) {
        throw unexpectedResponse("invalid total device memory size");
    }
    return static_cast<std::uint32_t>(total - journals);
}

void TokenImpl::splitIntoSections(const std::vector<Section>& sections,
                                  const std::shared_ptr<ScardEnumerator>& enumerator)
{
    checkSplitNotEmpty(sections);
    const SectionMap current = getSectionsAttributes();
    checkSectionCount(sections, current);
    const std::uint32_t available = getSizeAvailableForFormatting();
    const std::vector<std::uint8_t> data = splitCommandData(sections, current, available);
    {
        const ScardLocker lock(scard);
        const LoginTransaction transaction(scard, logins);
        transmitChecked(*scard, SplitIntoSectionsApdu(data));
    }
    resetAfterChange(enumerator, "sections split");
}

void TokenImpl::changeAccessRights(std::uint8_t sectionId, Section::AccessState state, bool permanent,
                                   const std::shared_ptr<ScardEnumerator>& enumerator)
{
    checkCdRomPermanent(state, permanent);
    {
        const ScardLocker lock(scard);
        const LoginTransaction transaction(scard, logins);
        checkAccessChange(getSectionsAttributes(), sectionId, state, permanent);
        transmitChecked(*scard, ChangeAccessRights(sectionId, static_cast<std::uint8_t>(state), permanent));
    }
    if (permanent) {
        resetAfterChange(enumerator, "access rights changed permanently");
    }
}

void TokenImpl::resetAfterChange(const std::shared_ptr<ScardEnumerator>& enumerator, const char* change)
{
    try {
        resetToken(enumerator);
    } catch (const Exception& failure) {
        std::vector<Condition> conditions = failure.conditions();
        conditions.emplace_back(QVFLASH_COND_CHANGE_MADE, std::string(change));
        throw Exception(failure.code(), std::move(conditions));
    }
}

void TokenImpl::resetToken(const std::shared_ptr<ScardEnumerator>& enumerator)
{
    resetToken(enumerator, ResetPolling());
}

void TokenImpl::resetToken(const std::shared_ptr<ScardEnumerator>& enumerator, const ResetPolling& polling)
{
    std::uint64_t serial = 0;
    {
        const ScardLocker lock(scard);
        serial = TokenEnumerator::getTokenSerial(scard);
        const LoginTransaction transaction(scard, logins);
        transmitChecked(*scard, ResetToken());
    }
    // A steady clock: a wall-clock step must neither cut the wait short nor
    // stretch it.
    const auto deadline = std::chrono::steady_clock::now() + polling.deadline;
    std::optional<Exception> lastRefusal;
    for (;;) {
        std::this_thread::sleep_for(polling.interval);
        const std::shared_ptr<Scard> card = findToken(*enumerator, serial, lastRefusal);
        if (card) {
            try {
                scard->swap(*card);
                return;
            } catch (const PcscException&) {
                // Treated like a failed look: try again on the next poll.
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw notBack(lastRefusal);
        }
    }
}

} // namespace qvfl
