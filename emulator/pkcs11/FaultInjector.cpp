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
    auto it = std::find_if(faults.begin(), faults.end(), [&](const auto& f) { return sameRule(f, rule) && f.times != 0; });
    if (it == faults.end() || it->times < 0) return;
    if (--it->times == 0) faults.erase(it);
}

}  // namespace

std::optional<CK_RV> FaultInjector::fire(qvtoken::TokenStore& store, qvtoken::TokenState& token, const std::string& entry)
{
    for (const auto& rule : token.moduleFaults) {
        if (rule.entry != entry || rule.times == 0) continue;
        const std::string key = std::to_string(token.serial) + '/' + rule.entry + '/' + std::to_string(rule.rv) + '/' +
                                std::to_string(rule.skip);
        if (++calls_[key] <= rule.skip) continue;
        const qvtoken::ModuleFault fired = rule;
        if (fired.times > 0) {
            store.modify(token.serial, [&](qvtoken::TokenState& t) { useUp(t.moduleFaults, fired); });
            useUp(token.moduleFaults, fired);
        }
        return static_cast<CK_RV>(fired.rv);
    }
    return std::nullopt;
}

}  // namespace qvstandin
