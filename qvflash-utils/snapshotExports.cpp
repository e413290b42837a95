// The snapshot exports. Both run through the guard, so each call leaves its
// status as the calling thread's last status.
#include <qvflash-utils.h>

#include <qvflash-utils-core/HwParamsGetter.h>
#include <qvflash-utils-core/executeSafe.h>
#include <qvflash-utils-core/pcSnapshot.h>

extern "C" {

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_pc_snapshot(qvfl_utils_PcSnapshot* snapshot)
{
    if (snapshot == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    // The caller's record changes only once the new snapshot stands whole.
    return qvfl_utils::executeSafe(
        [snapshot] { *snapshot = qvfl_utils::createPcSnapshot(qvfl_utils::HwParamsGetter::get()); });
}

QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_pc_snapshot_destroy(qvfl_utils_PcSnapshot* snapshot)
{
    if (snapshot == nullptr) {
        return QVFL_UTILS_ST_NULL_PTR_ARG;
    }
    return qvfl_utils::executeSafe([snapshot] { qvfl_utils::destroyPcSnapshot(*snapshot); });
}

} // extern "C"
