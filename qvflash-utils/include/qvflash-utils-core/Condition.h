#pragma once

#include <qvflash-utils.h>

#include <cstdint>
#include <string>
#include <variant>

namespace qvfl_utils {

// One detail of a failure: what it means (the code) and its value, an integer
// (index 0) or a text (index 1).
class Condition {
public:
    using Detail = std::variant<std::int64_t, std::string>;

    Condition(qvfl_utils_ConditionCode code, Detail detail);

    qvfl_utils_ConditionCode code() const { return code_; }
    const Detail& detail() const { return detail_; }

private:
    qvfl_utils_ConditionCode code_;
    Detail detail_;
};

bool operator==(const Condition& left, const Condition& right);

} // namespace qvfl_utils
