#include "VirtualTokens.h"

#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>

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
