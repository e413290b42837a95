#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>
#include <qvtoken-core/TokenStore.h>

#include <map>
#include <optional>
#include <string>

namespace qvstandin {

// Fires the module faults a token's state file describes: a rule lets the first `skip` calls
// of its entry in this process pass, then answers its value instead of running the entry.
// A rule with a count is used up in the file itself, so "once" stays once across runs.
class FaultInjector {
public:
    // The value to return for this call of `entry` on `token`, if a rule fires; a fired rule
    // with a count is counted down in the store and in `token`.
    std::optional<CK_RV> fire(qvtoken::TokenStore& store, qvtoken::TokenState& token, const std::string& entry);
    void reset() { calls_.clear(); }

private:
    std::map<std::string, unsigned long> calls_;
};

} // namespace qvstandin
