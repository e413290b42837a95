#include <qvflash-utils-core/Condition.h>

#include <utility>

namespace qvfl_utils {

Condition::Condition(qvfl_utils_ConditionCode code, Detail detail) : code_(code), detail_(std::move(detail)) {}

bool operator==(const Condition& left, const Condition& right)
{
    return left.code() == right.code() && left.detail() == right.detail();
}

} // namespace qvfl_utils
