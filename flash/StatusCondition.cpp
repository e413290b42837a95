#include "flash/StatusCondition.h"

#include "pkcs11/ScopeGuard.h"

namespace quorvik::qvflash {

StatusCondition readCondition(const qvflash_Condition& record)
{
    StatusCondition condition(record.code);
    if (record.detail.kind == 0)
        condition.detail = static_cast<long long>(record.detail.data.value);
    else if (record.detail.kind == 1)
        condition.detail = std::string(record.detail.data.text ? record.detail.data.text : "");
    return condition;
}

std::vector<StatusCondition> getLastConditions()
{
    qvflash_Condition* records = nullptr;
    size_t count = 0;
    if (qvflash_last_status_conditions(&records, &count) != QVFLASH_ST_OK)
        return {};
    const auto release =
        vt::scopeGuard(vt::ScopeExit{}, [&] { qvflash_last_status_conditions_destroy(&records, count); });
    std::vector<StatusCondition> conditions;
    conditions.reserve(count);
    for (size_t i = 0; i < count; ++i)
        conditions.push_back(readCondition(records[i]));
    return conditions;
}

} // namespace quorvik::qvflash
