/* Built against an installed copy's headers and pkg-config files: prints the status text of
 * one flash-library status, then the host snapshot (or its status number). */
#include <qvflash-utils.h>
#include <qvflash.h>

#include <stdio.h>

int main(void)
{
    const char* text = NULL;
    if (qvflash_status_description(QVFLASH_ST_OK, &text) != QVFLASH_ST_OK || text == NULL) {
        return 1;
    }
    printf("%s\n", text);
    qvfl_utils_PcSnapshot snapshot = {0, NULL};
    const qvfl_utils_StatusCode status = qvfl_utils_pc_snapshot(&snapshot);
    if (status != QVFL_UTILS_ST_OK) {
        printf("status %d\n", (int)status);
        return 0;
    }
    printf("%s\n", snapshot.data);
    return qvfl_utils_pc_snapshot_destroy(&snapshot) == QVFL_UTILS_ST_OK ? 0 : 1;
}
