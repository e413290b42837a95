/*
 * qvflash-utils: the PC snapshot, a text that identifies the host by the serial
 * numbers of its internal drives and the brand names of its processors.
 *
 * Every function returns a qvfl_utils_StatusCode (0 on success). After a
 * non-zero result of qvfl_utils_pc_snapshot, the details of the failure can be
 * read on the same thread with qvfl_utils_last_status_conditions, before any
 * further snapshot call. Calls from different threads are serialised.
 */
#ifndef QVFLASH_UTILS_H
#define QVFLASH_UTILS_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__) || defined(__clang__)
#define QVFL_UTILS_API __attribute__((visibility("default")))
#else
#define QVFL_UTILS_API
#endif

/* The exported enums are 32-bit. C++ gets the fixed base so that a value a C
 * caller passes outside the listed ones stays representable. */
#ifdef __cplusplus
#define QVFL_UTILS_ENUM_BASE(type) : type
#else
#define QVFL_UTILS_ENUM_BASE(type)
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum qvfl_utils_StatusCode QVFL_UTILS_ENUM_BASE(int32_t){
    QVFL_UTILS_ST_OK = 0,           QVFL_UTILS_ST_INTERNAL_ERROR = 1,
    QVFL_UTILS_ST_NULL_PTR_ARG = 2, QVFL_UTILS_ST_SYSTEM_ERROR = 3,
    QVFL_UTILS_ST_NO_CPU_INFO = 4,  QVFL_UTILS_ST_NO_HD_INFO = 5} qvfl_utils_StatusCode;

/* What the detail of a condition means. */
typedef enum qvfl_utils_ConditionCode QVFL_UTILS_ENUM_BASE(uint32_t){
    /* A text: the explanation of the failure. */
    QVFL_UTILS_COND_ADDITIONAL_MESSAGE = 0,
    /* An integer: the system's error code (errno). */
    QVFL_UTILS_COND_ERROR_CODE = 1} qvfl_utils_ConditionCode;

/* Values of qvfl_utils_ConditionDetail.type. */
enum { QVFL_UTILS_DETAIL_INTEGER = 0, QVFL_UTILS_DETAIL_STRING = 1 };

typedef struct qvfl_utils_ConditionDetail {
    uint32_t type;
    union {
        int64_t integer;
        /* NUL-terminated, owned by the array it is part of. */
        char* string;
    } value;
} qvfl_utils_ConditionDetail;

/* One condition of the calling thread's last status (24 bytes). */
typedef struct qvfl_utils_Condition {
    qvfl_utils_ConditionCode code;
    qvfl_utils_ConditionDetail detail;
} qvfl_utils_Condition;

/* One snapshot: length text bytes at data, followed by a NUL. The library owns
 * data until the record is handed to qvfl_utils_pc_snapshot_destroy. */
typedef struct qvfl_utils_PcSnapshot {
    uint8_t length;
    char* data;
} qvfl_utils_PcSnapshot;

/* Callers on other compilers rely on these layouts. */
#ifdef __cplusplus
#define QVFL_UTILS_STATIC_ASSERT static_assert
#else
#define QVFL_UTILS_STATIC_ASSERT _Static_assert
#endif
QVFL_UTILS_STATIC_ASSERT(sizeof(qvfl_utils_StatusCode) == 4, "qvfl_utils_StatusCode is 32-bit");
QVFL_UTILS_STATIC_ASSERT(sizeof(qvfl_utils_ConditionCode) == 4, "qvfl_utils_ConditionCode is 32-bit");
QVFL_UTILS_STATIC_ASSERT(sizeof(qvfl_utils_Condition) == 24 &&
                             offsetof(qvfl_utils_Condition, detail) + offsetof(qvfl_utils_ConditionDetail, type) == 8 &&
                             offsetof(qvfl_utils_Condition, detail) + offsetof(qvfl_utils_ConditionDetail, value) == 16,
                         "qvfl_utils_Condition layout");
QVFL_UTILS_STATIC_ASSERT(sizeof(qvfl_utils_PcSnapshot) == 16 && offsetof(qvfl_utils_PcSnapshot, data) == 8,
                         "qvfl_utils_PcSnapshot layout");

/* The fixed English text of a status code, or NULL for an unknown code (still
 * status 0). The text lives as long as the library stays loaded. */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_status_description(qvfl_utils_StatusCode code,
                                                                   const char** description);
/* The same for a condition code. */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_condition_description(qvfl_utils_ConditionCode code,
                                                                      const char** description);
/* A copy of the conditions of the calling thread's last status: a new array of
 * *count records (NULL when there are none), released with
 * qvfl_utils_last_status_conditions_destroy. On a non-zero result the outputs
 * are NULL and 0. */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_last_status_conditions(qvfl_utils_Condition** conditions,
                                                                       size_t* count);
/* Releases an array from qvfl_utils_last_status_conditions with its texts. */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_last_status_conditions_destroy(qvfl_utils_Condition* conditions,
                                                                               size_t count);

/* Computes the host's snapshot into the caller's record. On failure the record
 * is left as it was. A snapshot longer than 255 characters is refused
 * (status 1). */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_pc_snapshot(qvfl_utils_PcSnapshot* snapshot);
/* Releases the text of a record filled by qvfl_utils_pc_snapshot and empties
 * it; an empty record is left as it is. */
QVFL_UTILS_API qvfl_utils_StatusCode qvfl_utils_pc_snapshot_destroy(qvfl_utils_PcSnapshot* snapshot);

#ifdef __cplusplus
}
#endif

#endif
