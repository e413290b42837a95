#include "VirtualTokens.h"

#include "PcscTestClient.h"

#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>

#include <iostream>
#include <stdexcept>

namespace qvcardtest {

namespace {

// A deleted token's card stays listed as present, no longer answering, until pcscd's next
// presence poll: an enumeration that meets it fails. Tests wait for an empty bus before their
// first token and after removing theirs, so neither they nor the next test, of any fixture,
// meet such a card.
bool busClears()
{
    try {
        return PcscTestClient().waitForNoCard(std::chrono::seconds(15));
    } catch (const PcscFailure&) {
        return false;
    }
}

} // namespace

VirtualTokens::~VirtualTokens()
{
    removeAll();
}

void VirtualTokens::removeAll()
{
    if (serials_.empty()) {
        return;
    }
    for (const auto serial : serials_) {
        try {
            store_.remove(serial);
        } catch (const qvtoken::StateError&) {
            // Already gone: the test removed it itself.
        }
    }
    serials_.clear();
    if (!busClears()) {
        std::cerr << "card tests: the cards of removed virtual tokens are still on the bus\n";
    }
}

void VirtualTokens::add(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& adjust)
{
    if (!busClear_) {
        if (!busClears()) {
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
