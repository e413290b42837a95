#include "flash/getPcSnapshot.h"

#include "flash/QvflashUtilsException.h"
#include "pkcs11/ScopeGuard.h"

namespace {

void throwOnFailure(qvfl_utils_StatusCode status)
{
    if (status == QVFL_UTILS_ST_OK)
        return;
    const char* description = nullptr;
    qvfl_utils_status_description(status, &description);
    quorvik::qvflash_utils::QvflashUtilsException::emit(status, description);
}

} // namespace

std::vector<uint8_t> getPcSnapshot()
{
    // A failed call leaves the record as it was: nothing to hand back.
    qvfl_utils_PcSnapshot snapshot{};
    throwOnFailure(qvfl_utils_pc_snapshot(&snapshot));

    std::vector<uint8_t> bytes;
    {
        // The text goes back to the library also when the copy fails; that release is best
        // effort, as the copy's failure is the one to report.
        const auto release = vt::scopeGuard(vt::ScopeFail{}, [&] { qvfl_utils_pc_snapshot_destroy(&snapshot); });
        bytes.assign(snapshot.data, snapshot.data + snapshot.length);
    }
    throwOnFailure(qvfl_utils_pc_snapshot_destroy(&snapshot));
    return bytes;
}
