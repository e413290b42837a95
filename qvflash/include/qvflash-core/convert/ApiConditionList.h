#pragma once

#include <qvflash-core/errors/Condition.h>

#include <cstddef>
#include <vector>

namespace qvfl::convert {

// The exported form of one condition; a text detail is copied into a new
// NUL-terminated array that the caller of qvflash_last_status_conditions owns.
qvflash_Condition toApiCondition(const Condition& condition);

// Releases an exported condition array and the texts of its first count records.
void releaseApiConditions(qvflash_Condition* conditions, std::size_t count) noexcept;

// An exported condition array under construction. Until release() hands it
// over, the destructor frees everything built so far, so a failure half-way
// leaves nothing behind.
class ApiConditionList {
public:
    explicit ApiConditionList(const std::vector<Condition>& conditions);
    ~ApiConditionList();
    // Owns a raw array: copying would free it twice.
    ApiConditionList(const ApiConditionList&) = delete;
    ApiConditionList& operator=(const ApiConditionList&) = delete;

    std::size_t size() const { return count_; }
    // Gives the array up to the caller; null for an empty list.
    qvflash_Condition* release();

private:
    qvflash_Condition* records_ = nullptr;
    std::size_t count_ = 0;
};

} // namespace qvfl::convert
