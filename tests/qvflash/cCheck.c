#include "cCheck.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

static unsigned passed;
static unsigned failed;

static void fail(const char* file, int line, const char* what)
{
    ++failed;
    fprintf(stderr, "%s:%d: FAILED: %s\n", file, line, what);
}

static void printConditions(void)
{
    qvflash_Condition* conditions = NULL;
    size_t count = 0;
    if (qvflash_last_status_conditions(&conditions, &count) != QVFLASH_ST_OK) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        if (conditions[i].detail.kind == 1) {
            fprintf(stderr, "    condition %d: \"%s\"\n", (int)conditions[i].code, conditions[i].detail.data.text);
        } else {
            fprintf(stderr, "    condition %d: %" PRId64 "\n", (int)conditions[i].code,
                    conditions[i].detail.data.value);
        }
    }
    qvflash_last_status_conditions_destroy(&conditions, count);
}

void checkTrue(int ok, const char* what, const char* file, int line)
{
    if (ok) {
        ++passed;
    } else {
        fail(file, line, what);
    }
}

void checkStatus(qvflash_StatusCode got, qvflash_StatusCode expected, const char* what, const char* file, int line)
{
    if (got == expected) {
        ++passed;
        return;
    }
    fail(file, line, what);
    fprintf(stderr, "    status %d, expected %d\n", (int)got, (int)expected);
    printConditions();
}

static void checkSingleCondition(qvflash_ConditionCode code, int kind, int64_t value, const char* text,
                                 const char* file, int line)
{
    qvflash_Condition* conditions = NULL;
    size_t count = 0;
    const qvflash_StatusCode status = qvflash_last_status_conditions(&conditions, &count);
    int ok = status == QVFLASH_ST_OK && count == 1 && conditions[0].code == code && conditions[0].detail.kind == kind;
    if (ok) {
        ok = kind == 0 ? conditions[0].detail.data.value == value
                       : text != NULL && strcmp(conditions[0].detail.data.text, text) == 0;
    }
    qvflash_last_status_conditions_destroy(&conditions, count);
    if (ok) {
        ++passed;
        return;
    }
    fail(file, line, "the last status's one condition");
    fprintf(stderr, "    expected condition %d: ", (int)code);
    if (kind == 0) {
        fprintf(stderr, "%" PRId64 "\n", value);
    } else {
        fprintf(stderr, "\"%s\"\n", text);
    }
    printConditions();
}

void checkIntCondition(qvflash_ConditionCode code, int64_t value, const char* file, int line)
{
    checkSingleCondition(code, 0, value, NULL, file, line);
}

void checkTextCondition(qvflash_ConditionCode code, const char* text, const char* file, int line)
{
    checkSingleCondition(code, 1, 0, text, file, line);
}

void checkNoConditions(const char* file, int line)
{
    qvflash_Condition* conditions = NULL;
    size_t count = 1;
    const qvflash_StatusCode status = qvflash_last_status_conditions(&conditions, &count);
    if (status == QVFLASH_ST_OK && count == 0 && conditions == NULL) {
        ++passed;
        return;
    }
    fail(file, line, "the last status has no conditions");
    printConditions();
    qvflash_last_status_conditions_destroy(&conditions, count);
}

int lastIntCondition(qvflash_ConditionCode code, int64_t* value)
{
    qvflash_Condition* conditions = NULL;
    size_t count = 0;
    int found = 0;
    if (qvflash_last_status_conditions(&conditions, &count) != QVFLASH_ST_OK) {
        return 0;
    }
    for (size_t i = 0; i < count && !found; ++i) {
        if (conditions[i].code == code && conditions[i].detail.kind == 0) {
            *value = conditions[i].detail.data.value;
            found = 1;
        }
    }
    qvflash_last_status_conditions_destroy(&conditions, count);
    return found;
}

int checkSummary(void)
{
    printf("%u passed, %u failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
