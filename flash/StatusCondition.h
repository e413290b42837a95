#pragma once

#include "qvflash.h"

#include <string>
#include <variant>
#include <vector>

namespace quorvik::qvflash {

// One detail of a failed library status, e.g. the login attempts left.
class StatusCondition {
public:
    explicit StatusCondition(qvflash_ConditionCode code) : code_(code) {}

    qvflash_ConditionCode getCondCode() const { return code_; }

    std::variant<std::monostate, long long, std::string> detail;

private:
    qvflash_ConditionCode code_;
};

// One record as the library hands it out: kind 0 a number, kind 1 a text (none reads as
// empty), any other kind no detail.
StatusCondition readCondition(const qvflash_Condition& record);

// The conditions of this thread's last library status; empty when the library cannot give them.
std::vector<StatusCondition> getLastConditions();

} // namespace quorvik::qvflash
