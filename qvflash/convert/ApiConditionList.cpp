#include <qvflash-core/convert/ApiConditionList.h>

#include <cstring>
#include <memory>
#include <string>

namespace qvfl::convert {
namespace {

constexpr std::int32_t kIntegerDetail = 0;
constexpr std::int32_t kTextDetail = 1;

struct DetailToApi {
    qvflash_ConditionDetail operator()(std::int64_t value) const
    {
        qvflash_ConditionDetail detail{};
        detail.kind = kIntegerDetail;
        detail.data.value = value;
        return detail;
    }
    qvflash_ConditionDetail operator()(const std::string& text) const
    {
        qvflash_ConditionDetail detail{};
        detail.kind = kTextDetail;
        detail.data.text = new char[text.size() + 1];
        std::memcpy(detail.data.text, text.c_str(), text.size() + 1);
        return detail;
    }
};

} // namespace

qvflash_Condition toApiCondition(const Condition& condition)
{
    qvflash_Condition record{};
    record.code = condition.code();
    record.detail = std::visit(DetailToApi{}, condition.detail());
    return record;
}

void releaseApiConditions(qvflash_Condition* conditions, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) {
        qvflash_ConditionDetail& detail = conditions[i].detail;
        if (detail.kind == kTextDetail && detail.data.text != nullptr) {
            delete[] detail.data.text;
            detail.data.text = nullptr;
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
    records_ = new qvflash_Condition[conditions.size()]();
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

qvflash_Condition* ApiConditionList::release()
{
    qvflash_Condition* records = records_;
    records_ = nullptr;
    count_ = 0;
    return records;
}

} // namespace qvfl::convert
