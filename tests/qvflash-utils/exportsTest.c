/* The exported functions seen from C, through the public header and the
 * shared library only, on the fixture hosts. */
#include <qvflash-utils.h>

#include <errno.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned failed;

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ++failed;                                                                                                  \
            fprintf(stderr, "%s:%d: FAILED: %s\n", __FILE__, __LINE__, #condition);                                    \
        }                                                                                                              \
    } while (0)

static void useHost(const char* name)
{
    char root[4096];
    snprintf(root, sizeof root, "%s/%s", QV_TEST_HOSTS, name);
    setenv("QV_HOST_ROOT", root, 1);
}

/* Whether the calling thread's last status has exactly these conditions: count
 * records, the first a message starting with text (when text is given), the
 * second an error code (when count is 2). */
static int lastConditionsAre(size_t count, const char* text, int64_t errorCode)
{
    qvfl_utils_Condition* conditions = NULL;
    size_t got = 99;
    if (qvfl_utils_last_status_conditions(&conditions, &got) != QVFL_UTILS_ST_OK || got != count) {
        return 0;
    }
    int ok = count == 0 ? conditions == NULL : 1;
    if (count >= 1) {
        ok = conditions[0].code == QVFL_UTILS_COND_ADDITIONAL_MESSAGE &&
             conditions[0].detail.type == QVFL_UTILS_DETAIL_STRING &&
             strncmp(conditions[0].detail.value.string, text, strlen(text)) == 0;
    }
    if (count == 2) {
        ok = ok && conditions[1].code == QVFL_UTILS_COND_ERROR_CODE &&
             conditions[1].detail.type == QVFL_UTILS_DETAIL_INTEGER && conditions[1].detail.value.integer == errorCode;
    }
    if (conditions != NULL) {
        CHECK(qvfl_utils_last_status_conditions_destroy(conditions, got) == QVFL_UTILS_ST_OK);
    }
    return ok;
}

static void descriptions(void)
{
    const char* first = NULL;
    const char* second = NULL;
    CHECK(qvfl_utils_status_description(QVFL_UTILS_ST_SYSTEM_ERROR, &first) == QVFL_UTILS_ST_OK);
    CHECK(qvfl_utils_status_description(QVFL_UTILS_ST_SYSTEM_ERROR, &second) == QVFL_UTILS_ST_OK);
    CHECK(first != NULL && first == second && strcmp(first, "A system call execution error occurred") == 0);
    CHECK(qvfl_utils_status_description((qvfl_utils_StatusCode)6, &first) == QVFL_UTILS_ST_OK);
    CHECK(first == NULL);
    CHECK(qvfl_utils_condition_description(QVFL_UTILS_COND_ERROR_CODE, &first) == QVFL_UTILS_ST_OK);
    CHECK(first != NULL && strcmp(first, "Error code") == 0);
    CHECK(qvfl_utils_condition_description((qvfl_utils_ConditionCode)2, &first) == QVFL_UTILS_ST_OK);
    CHECK(first == NULL);
}

static void* freshThread(void* unused)
{
    (void)unused;
    CHECK(lastConditionsAre(0, "", 0));
    return NULL;
}

static void* failingThread(void* unused)
{
    (void)unused;
    qvfl_utils_PcSnapshot snapshot = {0, NULL};
    CHECK(qvfl_utils_pc_snapshot(&snapshot) == QVFL_UTILS_ST_INTERNAL_ERROR);
    return NULL;
}

static void inThread(void* (*body)(void*))
{
    pthread_t thread;
    CHECK(pthread_create(&thread, NULL, body, NULL) == 0 && pthread_join(thread, NULL) == 0);
}

static void snapshots(void)
{
    static const struct {
        const char* host;
        qvfl_utils_StatusCode status;
        const char* text;
    } cases[] = {
        {"workstation", QVFL_UTILS_ST_OK, "D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz"},
        {"two-packages", QVFL_UTILS_ST_OK,
         "D:scsi77;za1b2c3d|P:intelrxeonrgold6248cpu250ghz;intelrxeonrgold6248cpu250ghz"},
        {"no-internal-drive", QVFL_UTILS_ST_NO_HD_INFO, NULL},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        qvfl_utils_PcSnapshot snapshot = {0, NULL};
        useHost(cases[i].host);
        CHECK(qvfl_utils_pc_snapshot(&snapshot) == cases[i].status);
        if (cases[i].text != NULL) {
            CHECK(snapshot.length == strlen(cases[i].text) &&
                  memcmp(snapshot.data, cases[i].text, snapshot.length + 1) == 0);
        } else {
            CHECK(snapshot.length == 0 && snapshot.data == NULL);
        }
        CHECK(lastConditionsAre(0, "", 0));
        CHECK(qvfl_utils_pc_snapshot_destroy(&snapshot) == QVFL_UTILS_ST_OK);
        CHECK(qvfl_utils_pc_snapshot_destroy(&snapshot) == QVFL_UTILS_ST_OK);
        CHECK(snapshot.length == 0 && snapshot.data == NULL);
    }

    /* Too long for the 8-bit length: refused, the caller's record kept. */
    char kept[] = "kept";
    qvfl_utils_PcSnapshot snapshot = {4, kept};
    useHost("long-snapshot");
    CHECK(qvfl_utils_pc_snapshot(&snapshot) == QVFL_UTILS_ST_INTERNAL_ERROR);
    CHECK(snapshot.length == 4 && snapshot.data == kept);
    CHECK(lastConditionsAre(1, "PC snapshot text is longer than 255 characters", 0));

    /* A null argument neither locks nor touches the last status. */
    useHost("no-model-name");
    CHECK(qvfl_utils_pc_snapshot(&snapshot) == QVFL_UTILS_ST_SYSTEM_ERROR);
    qvfl_utils_Condition* conditions = NULL;
    size_t count = 0;
    CHECK(qvfl_utils_pc_snapshot(NULL) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_pc_snapshot_destroy(NULL) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_status_description(QVFL_UTILS_ST_OK, NULL) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_condition_description(QVFL_UTILS_COND_ERROR_CODE, NULL) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_last_status_conditions(NULL, &count) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_last_status_conditions(&conditions, NULL) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(qvfl_utils_last_status_conditions_destroy(NULL, 2) == QVFL_UTILS_ST_NULL_PTR_ARG);
    CHECK(lastConditionsAre(2, "sysctlbyname(\"machdep.cpu.brand_string\")", ENOENT));

    /* Another thread's failure does not show here, nor this one's there. */
    useHost("long-snapshot");
    inThread(failingThread);
    inThread(freshThread);
    CHECK(lastConditionsAre(2, "sysctlbyname(\"machdep.cpu.brand_string\")", ENOENT));
}

int main(void)
{
    descriptions();
    snapshots();
    printf("%s\n", failed == 0 ? "passed" : "FAILED");
    return failed == 0 ? 0 : 1;
}
