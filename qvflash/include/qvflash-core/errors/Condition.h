#pragma once

#include <qvflash.h>

#include <cstdint>
#include <string>
#include <variant>

namespace qvfl {

// One detail of a failure: what went wrong (the code) and the value that tells
// the caller more, an integer or a text.
class Condition {
public:
    using Detail = std::variant<std::int64_t, std::string>;

    Condition(qvflash_ConditionCode code, Detail detail);

    qvflash_ConditionCode code() const { return code_; }
    const Detail& detail() const { return detail_; }

private:
    qvflash_ConditionCode code_;
    Detail detail_;
};

bool operator==(const Condition& left, const Condition& right);

} // namespace qvfl
