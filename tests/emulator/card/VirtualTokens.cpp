#include "VirtualTokens.h"

#include "PcscTestClient.h"

#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>

#include <stdexcept>

namespace qvcardtest {

VirtualTokens::~VirtualTokens()
{
    removeAll();
}

void VirtualTokens::removeAll()
{
    for (const auto serial : serials_) {
        try {
            store_.remove(serial);
        } catch (const qvtoken::StateError&) {
            // Already gone: the test removed it itself.
        }
    }
    serials_.clear();
}

void VirtualTokens::add(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& adjust)
{
    // A deleted token's card stays listed as present, no longer answering, until pcscd's next
    // presence poll: an enumeration of this test would meet it and fail.
    if (!busClear_) {
        if (!PcscTestClient().waitForNoCard(std::chrono::seconds(15))) {
            throw std::runtime_error("a card of an earlier test is still on the bus");
        }
        busClear_ = true;
    }
    qvtoken::TokenState token = qvtoken::makePreset("full");
    token.serial = serial;
    token.slotId = serial;
    token.card.plugged = true;
    // The card tests start from an unpartitioned drive.
    token.drive.sections.clear();
    token.drive.sizeMb = 4096;
    if (adjust) {
        adjust(token);
    }
    store_.create(token);
    serials_.push_back(serial);
}

void VirtualTokens::modify(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& change)
{
    store_.modify(serial, change);
}

qvtoken::TokenState VirtualTokens::load(std::uint64_t serial) const
{
    return store_.load(serial).value();
}

} // namespace qvcardtest
