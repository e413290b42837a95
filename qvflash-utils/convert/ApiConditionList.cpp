#include <qvflash-utils-core/convert/ApiConditionList.h>

#include <cstring>
#include <string>

namespace qvfl_utils::convert {
namespace {

struct DetailToApi {
    qvfl_utils_ConditionDetail operator()(std::int64_t value) const
    {
        qvfl_utils_ConditionDetail detail{};
        detail.type = QVFL_UTILS_DETAIL_INTEGER;
        detail.value.integer = value;
        return detail;
    }
    qvfl_utils_ConditionDetail operator()(const std::string& text) const
    {
        qvfl_utils_ConditionDetail detail{};
        detail.type = QVFL_UTILS_DETAIL_STRING;
        detail.value.string = new char[text.size() + 1];
        std::memcpy(detail.value.string, text.c_str(), text.size() + 1);
        return detail;
    }
};

} // namespace

qvfl_utils_Condition toApiCondition(const Condition& condition)
{
    qvfl_utils_Condition record{};
    record.code = condition.code();
    record.detail = std::visit(DetailToApi{}, condition.detail());
    return record;
}

void releaseApiConditions(qvfl_utils_Condition* conditions, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) {
        qvfl_utils_ConditionDetail& detail = conditions[i].detail;
        if (detail.type == QVFL_UTILS_DETAIL_STRING && detail.value.string != nullptr) {
            delete[] detail.value.string;
        }
    }
    delete[] conditions;
}

ApiConditionList::ApiConditionList(const std::vector<Condition>& conditions)
{
    if (conditions.empty()) {
        return;
    }
    // Value-initialised records are integer details, safe to release unfilled.
    records_ = new qvfl_utils_Condition[conditions.size()]();
    try {
        for (const Condition& condition : conditions) {
            records_[count_] = toApiCondition(condition);
            ++count_;
        }
    } catch (...) {
        // A constructor that throws gets no destructor call: release here.
        releaseApiConditions(records_, count_);
        throw;
    }
}

ApiConditionList::~ApiConditionList()
{
    if (records_ != nullptr) {
        releaseApiConditions(records_, count_);
    }
}

qvfl_utils_Condition* ApiConditionList::release()
{
    qvfl_utils_Condition* records = records_;
    records_ = nullptr;
    count_ = 0;
    return records;
}

} // namespace qvfl_utils::convert
