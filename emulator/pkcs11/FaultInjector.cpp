#include "FaultInjector.h"

#include <algorithm>

namespace qvstandin {

namespace {

bool sameRule(const qvtoken::ModuleFault& a, const qvtoken::ModuleFault& b)
{
    return a.entry == b.entry && a.rv == b.rv && a.skip == b.skip;
}

void useUp(std::vector<qvtoken::ModuleFault>& faults, const qvtoken::ModuleFault& rule)
{
    auto it =
        std::find_if(faults.begin(), faults.end(), [&](const auto& f) { return sameRule(f, rule) && f.times != 0; });
    if (it == faults.end() || it->times < 0)
        return;
    if (--it->times == 0)
        faults.erase(it);
}

} // namespace

std::optional<CK_RV> FaultInjector::fire(qvtoken::TokenStore& store, qvtoken::TokenState& token,
                                         const std::string& entry)
{
    const auto isRule = [&entry](const qvtoken::ModuleFault& f) { return f.entry == entry && f.times != 0; };
    const std::string key = std::to_string(token.serial) + '/' + entry;
    // Calls are numbered per token and entry from the moment a rule for it is seen, so several
    // rules can pick different calls of one entry (skip 1 and skip 3: the second and the fourth
    // call); with no rule left the numbering starts afresh for rules added later.
    if (std::none_of(token.moduleFaults.begin(), token.moduleFaults.end(), isRule)) {
        calls_.erase(key);
        return std::nullopt;
    }
    const unsigned long call = ++calls_[key];
    for (const auto& rule : token.moduleFaults) {
        if (!isRule(rule) || call <= rule.skip)
            continue;
        const qvtoken::ModuleFault fired = rule;
        if (fired.times > 0) {
            store.modify(token.serial, [&](qvtoken::TokenState& t) { useUp(t.moduleFaults, fired); });
            useUp(token.moduleFaults, fired);
        }
        return static_cast<CK_RV>(fired.rv);
    }
    return std::nullopt;
}

} // namespace qvstandin
