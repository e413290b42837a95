#include "FaultRules.h"

#include <algorithm>

namespace qvcard {
namespace {

bool matches(const qvtoken::CardFault& rule, const Bytes& message)
{
    if (message.size() == 1) {
        return rule.control && *rule.control == message[0];
    }
    if (rule.control || message.size() < 4) {
        return false;
    }
    const std::uint8_t mask = rule.claMask.value_or(0xFF);
    if (rule.cla && (message[0] & mask) != (*rule.cla & mask)) {
        return false;
    }
    if ((rule.ins && *rule.ins != message[1]) || (rule.p1 && *rule.p1 != message[2]) ||
        (rule.p2 && *rule.p2 != message[3])) {
        return false;
    }
    if (rule.dataPrefix.empty()) {
        return true;
    }
    // The prefix is compared with the data field (Lc bytes after the Lc byte), never with Le.
    const std::size_t dataLength = message.size() > 5 ? std::min<std::size_t>(message[4], message.size() - 5) : 0;
    return dataLength >= rule.dataPrefix.size() &&
           std::equal(rule.dataPrefix.begin(), rule.dataPrefix.end(), message.begin() + 5);
}

} // namespace

std::optional<qvtoken::CardFault> takeFault(qvtoken::TokenState& token, const Bytes& message)
{
    std::optional<qvtoken::CardFault> fired;
    for (auto& rule : token.cardFaults) {
        if (rule.afterReplug || rule.count == 0 || !matches(rule, message)) {
            continue;
        }
        ++rule.seen;
        if (!fired && rule.seen >= rule.nth) {
            if (rule.count > 0) {
                --rule.count;
            }
            fired = rule;
        }
    }
    auto& rules = token.cardFaults;
    rules.erase(std::remove_if(rules.begin(), rules.end(), [](const auto& rule) { return rule.count == 0; }),
                rules.end());
    return fired;
}

} // namespace qvcard
