#include <qvflash-core/errors/Condition.h>

#include <utility>

namespace qvfl {

Condition::Condition(qvflash_ConditionCode code, Detail detail) : code_(code), detail_(std::move(detail)) {}

bool operator==(const Condition& left, const Condition& right)
{
    return left.code() == right.code() && left.detail() == right.detail();
}

} // namespace qvfl
