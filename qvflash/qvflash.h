/*
 * qvflash: flash-memory functions of the product family's tokens over PC/SC.
 *
 * Every function returns a qvflash_StatusCode (0 on success). After a non-zero
 * result of a status-changing call, the details of the failure can be read on
 * the same thread with qvflash_last_status_conditions.
 */
#ifndef QVFLASH_H
#define QVFLASH_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__) || defined(__clang__)
#define QVFLASH_API __attribute__((visibility("default")))
#else
#define QVFLASH_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum qvflash_StatusCode {
    QVFLASH_ST_OK = 0,
    QVFLASH_ST_INTERNAL_ERROR = 1,
    QVFLASH_ST_PCSC_ERROR = 2,
    QVFLASH_ST_NULL_PTR_ARG = 3,

    QVFLASH_ST_APDU_ERROR = 6000,
    QVFLASH_ST_FILE_NOT_FOUND = 6001,
    QVFLASH_ST_INVALID_RIGHTS = 6002,
    QVFLASH_ST_VERIFY_FAILED = 6003,
    QVFLASH_ST_INCORRECT_PARAMETERS = 6004,
    QVFLASH_ST_COMMAND_NOT_SUPPORTED = 6005,
    QVFLASH_ST_OBJECT_BLOCKED = 6006,
    QVFLASH_ST_WRONG_DATA_LENGTH = 6007,
    QVFLASH_ST_NO_SPACE_FOR_RECORD = 6008,
    QVFLASH_ST_WRONG_PIN_POLITICS = 6009,
    QVFLASH_ST_PIN_REUSE_ERROR = 6010,
    QVFLASH_ST_CONDITIONS_OF_USE_NOT_SATISFIED = 6011,
    QVFLASH_ST_DOUBLE_LOGIN = 6012,
    QVFLASH_ST_INVALID_DATA = 6013,
    QVFLASH_ST_NO_FREE_LOCAL_FILE_ID = 6014,
    QVFLASH_ST_NO_MEMORY = 6015,
    QVFLASH_ST_COMMAND_FAILED = 6016,
    QVFLASH_ST_DEVICE_BROKEN = 6017,
    QVFLASH_ST_UNSUPPORTED_MODE_OF_COMMAND = 6018,
    QVFLASH_ST_OBJECT_EXISTS = 6019,
    QVFLASH_ST_REFERENCE_DATA_NOT_FOUND = 6020,
    QVFLASH_ST_COMMAND_NOT_ALLOWED = 6021,

    QVFLASH_ST_LOGIC_ERROR = 100000,
    QVFLASH_ST_INVALID_RECORD_COUNT = 100001,
    QVFLASH_ST_INVALID_RECORD_SIZE = 100002,
    QVFLASH_ST_INVALID_MVA_SIZE = 100003,
    QVFLASH_ST_INVALID_ATTEMPT_COUNT = 100004,
    QVFLASH_ST_CD_ROM_PERMANENT_ONLY = 100005,
    QVFLASH_ST_INVALID_SECTION_ID = 100006,
    QVFLASH_ST_JOURNAL_READ_ONLY_TEMP = 100007,
    QVFLASH_ST_JOURNAL_RO_ENCRYPTED_CONFLICT = 100008,
    QVFLASH_ST_INVALID_SECTION_COUNT = 100009,
    QVFLASH_ST_INVALID_SECTION_SIZE = 100010,
    QVFLASH_ST_INVALID_SECTIONS_TOTAL_SIZE = 100011,
    QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS = 100012,
    QVFLASH_ST_JOURNAL_EVENTS_MISSING = 100013,
    QVFLASH_ST_INVALID_JOURNAL_EVENTS_SIZE = 100014,
    QVFLASH_ST_INVALID_JOURNAL_ACCESS_RIGHTS = 100015,
    QVFLASH_ST_UNSUPPORTED_SECTION_TYPE = 100016,
    QVFLASH_ST_INVALID_PROTECT_CONDITIONS = 100017,
    QVFLASH_ST_INVALID_SECRET_ID = 100018,
    QVFLASH_ST_RECORD_MISMATCH = 100019,
    QVFLASH_ST_INCORRECT_LOGIN = 100021,
    QVFLASH_ST_DEVICE_NOT_FOUND = 100022,
    QVFLASH_ST_RECORD_NOT_FOUND = 100023,
    QVFLASH_ST_UNEXPECTED_APDU_RESPONSE = 100024,
    QVFLASH_ST_INVALID_STRING_SIZE = 100025,
    QVFLASH_ST_JOURNAL_READ_ONLY_FORBIDDEN = 100026,
    QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH = 100027,
    QVFLASH_ST_INVALID_PIN_SIZE = 100028,
    QVFLASH_ST_INVALID_SECRET_TYPE = 100029
} qvflash_StatusCode;

typedef enum qvflash_ConditionCode {
    QVFLASH_COND_STD_EXCEPTION = 0,
    QVFLASH_COND_APDU_STATUS = 1,
    QVFLASH_COND_LOCATION = 2,
    QVFLASH_COND_PCSC_ERROR_CODE = 3,
    QVFLASH_COND_PCSC_ERROR_CODE_HEX = 4,
    QVFLASH_COND_REMAINING_ATTEMPTS = 5,
    QVFLASH_COND_TLV_PARSING_ERROR = 6,
    QVFLASH_COND_APDU_RESPONSE = 7,
    QVFLASH_COND_PROTECT_CONDITIONS = 8,
    QVFLASH_COND_MAX_SECTION_COUNT = 9,
    QVFLASH_COND_AVAILABLE_FLASH_SIZE = 10,
    QVFLASH_COND_SECTION_SIZE = 11,
    QVFLASH_COND_SECTION_TYPE = 12,
    QVFLASH_COND_SECRET_ID = 13,
    QVFLASH_COND_SECRET_ID_RANGE = 14,
    QVFLASH_COND_EXPECTED_SECRET_TYPE = 15
} qvflash_ConditionCode;

/* The detail of one condition: kind 0 holds an integer in value, kind 1 a
 * NUL-terminated text owned by the condition list. */
typedef struct qvflash_ConditionDetail {
    int32_t kind;
    union {
        int64_t value;
        char *text;
    } data;
} qvflash_ConditionDetail;

/* One condition of the calling thread's last status (24 bytes). */
typedef struct qvflash_Condition {
    qvflash_ConditionCode code;
    qvflash_ConditionDetail detail;
} qvflash_Condition;

/* Sets *description to the static English text of a status code, or to NULL
 * when the code has none. Does not change the last status. */
QVFLASH_API qvflash_StatusCode qvflash_status_description(qvflash_StatusCode code,
                                                          const char **description);

/* Sets *description to the static English text of a condition code, or to NULL
 * when the code has none. Does not change the last status. */
QVFLASH_API qvflash_StatusCode qvflash_condition_description(qvflash_ConditionCode code,
                                                             const char **description);

/* Copies the conditions of the calling thread's last status. An empty list is
 * NULL with count 0; any other list must be released with
 * qvflash_last_status_conditions_destroy. When copying fails, *conditions is
 * NULL and *count 0, with nothing left to release. Does not change the last
 * status. */
QVFLASH_API qvflash_StatusCode qvflash_last_status_conditions(qvflash_Condition **conditions,
                                                              size_t *count);

/* Releases a list from qvflash_last_status_conditions and sets *conditions to
 * NULL. A NULL argument, a NULL list or a count of 0 releases nothing. */
QVFLASH_API void qvflash_last_status_conditions_destroy(qvflash_Condition **conditions,
                                                        size_t count);

#ifdef __cplusplus
}
#endif

#endif /* QVFLASH_H */
