// The exports that read the description tables and the thread's last status.
#include <qvflash.h>

#include <qvflash-core/convert/ApiConditionList.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/core/threadException.h>
#include <qvflash-core/errors/Descriptions.h>

using qvfl::Exception;
using qvfl::core::executeSafeNoStatusChange;

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_status_description(qvflash_StatusCode code, const char** description)
{
    return executeSafeNoStatusChange([&] {
        if (description == nullptr) {
            throw Exception(QVFLASH_ST_NULL_PTR_ARG);
        }
        *description = qvfl::getStatusDescription(code).data();
    });
}

QVFLASH_API qvflash_StatusCode qvflash_condition_description(qvflash_ConditionCode code, const char** description)
{
    return executeSafeNoStatusChange([&] {
        if (description == nullptr) {
            throw Exception(QVFLASH_ST_NULL_PTR_ARG);
        }
        *description = qvfl::getConditionDescription(code).data();
    });
}

QVFLASH_API qvflash_StatusCode qvflash_last_status_conditions(qvflash_Condition** conditions, size_t* count)
{
    return executeSafeNoStatusChange([&] {
        if (conditions == nullptr || count == nullptr) {
            throw Exception(QVFLASH_ST_NULL_PTR_ARG);
        }
        // Nothing half-built may reach the caller: outputs are null and zero
        // until the whole copy stands.
        *conditions = nullptr;
        *count = 0;
        qvfl::convert::ApiConditionList list(qvfl::core::threadException::getLast().conditions());
        *count = list.size();
        *conditions = list.release();
    });
}

QVFLASH_API void qvflash_last_status_conditions_destroy(qvflash_Condition** conditions, size_t count)
{
    if (conditions == nullptr || count == 0 || *conditions == nullptr) {
        return;
    }
    qvfl::convert::releaseApiConditions(*conditions, count);
    *conditions = nullptr;
}

} // extern "C"
