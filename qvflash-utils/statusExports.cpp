// The exports that read the description tables and the thread's last status.
// A null pointer is refused before the lock, leaving the last status alone.
#include <qvflash-utils.h>

#include <qvflash-utils-core/Descriptions.h>
#include <qvflash-utils-core/convert/ApiConditionList.h>
#include <qvflash-utils-core/executeSafe.h>
#include <qvflash-utils-core/threadException.h>

using qvfl_utils::executeSafeNoStatusChange;

extern "C" {

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_status_description(qvfl_utils_StatusCode code, const char** description)
{
    if (description == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    return executeSafeNoStatusChange([&] { *description = qvfl_utils::getStatusDescription(code).data(); });
}

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_condition_description(qvfl_utils_ConditionCode code,
                                                                      const char** description)
{
    if (description == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    return executeSafeNoStatusChange([&] { *description = qvfl_utils::getConditionDescription(code).data(); });
}

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_last_status_conditions(qvfl_utils_Condition** conditions, size_t* count)
{
    if (conditions == nullptr || count == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    // Nothing half-built may reach the caller: the outputs are null and zero
    // until the whole copy stands.
    *conditions = nullptr;
    *count = 0;
    return executeSafeNoStatusChange([&] {
        qvfl_utils::convert::ApiConditionList list(qvfl_utils::threadException::getLast().conditions());
        *count = list.size();
        *conditions = list.release();
    });
}

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_last_status_conditions_destroy(qvfl_utils_Condition* conditions,
                                                                               size_t count)
{
    if (conditions == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    return executeSafeNoStatusChange([&] { qvfl_utils::convert::releaseApiConditions(conditions, count); });
}

} // extern "C"
