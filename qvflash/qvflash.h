/*
 * qvflash: flash-memory functions of the product family's tokens over PC/SC.
 *
 * Every function returns a qvflash_StatusCode (0 on success). After a non-zero
 * result of a status-changing call, the details of the failure can be read on
 * the same thread with qvflash_last_status_conditions.
 */
#ifndef QVFLASH_H
#define QVFLASH_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__) || defined(__clang__)
#define QVFLASH_API __attribute__((visibility("default")))
#else
#define QVFLASH_API
#endif

/* The exported enums are 32-bit. C++ gets the fixed base so that a value a C
 * caller passes outside the listed ones stays representable until it is
 * checked. */
#ifdef __cplusplus
#define QVFLASH_ENUM_BASE : int32_t
#else
#define QVFLASH_ENUM_BASE
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum qvflash_StatusCode QVFLASH_ENUM_BASE {
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

typedef enum qvflash_ConditionCode QVFLASH_ENUM_BASE {
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
    QVFLASH_COND_EXPECTED_SECRET_TYPE = 15,
    /* The card made this change (a text) before the failure: only what followed it failed. */
    QVFLASH_COND_CHANGE_MADE = 16,
    /* The last refusal (a text: its status description, then its status word or response
     * text) that a card gave while a restarted token was awaited; any card's, maybe none
     * of the token's. */
    QVFLASH_COND_LAST_REFUSAL = 17
} qvflash_ConditionCode;

/* The detail of one condition: kind 0 holds an integer in value, kind 1 a
 * NUL-terminated text owned by the condition list. */
typedef struct qvflash_ConditionDetail {
    int32_t kind;
    union {
        int64_t value;
        char* text;
    } data;
} qvflash_ConditionDetail;

/* One condition of the calling thread's last status (24 bytes). */
typedef struct qvflash_Condition {
    qvflash_ConditionCode code;
    qvflash_ConditionDetail detail;
} qvflash_Condition;

/* Where a section may be seen and written. */
typedef enum qvflash_SectionAccessState QVFLASH_ENUM_BASE {
    QVFLASH_SECTION_HIDDEN = 0,
    QVFLASH_SECTION_READ_ONLY = 1,
    QVFLASH_SECTION_READ_WRITE = 3,
    QVFLASH_SECTION_CD_ROM = 5
} qvflash_SectionAccessState;

typedef enum qvflash_SectionType QVFLASH_ENUM_BASE {
    QVFLASH_SECTION_USER_FILES = 0,
    QVFLASH_SECTION_JOURNAL_EVENTS = 1,
    QVFLASH_SECTION_SECOND_JOURNAL = 2,
    QVFLASH_SECTION_ENCRYPTED = 3
} qvflash_SectionType;

/* The kind of object a local secret id names. QVFLASH_SECRET_NOT_FOUND is only
 * ever reported by qvflash_create_section_list and is refused on input. */
typedef enum qvflash_SecretType QVFLASH_ENUM_BASE {
    QVFLASH_SECRET_NONE = 0,
    QVFLASH_SECRET_MVA = 1,
    QVFLASH_SECRET_LOCAL_PIN = 2,
    QVFLASH_SECRET_NOT_FOUND = 3
} qvflash_SecretType;

/* Who protects a new local PIN; QVFLASH_SECURE_NONE is refused. */
typedef enum qvflash_SecureType QVFLASH_ENUM_BASE {
    QVFLASH_SECURE_NONE = 0,
    QVFLASH_SECURE_ADMIN = 1,
    QVFLASH_SECURE_USER = 2,
    QVFLASH_SECURE_LOCAL_PIN = 3
} qvflash_SecureType;

/* Values of qvflash_PrConds.rule. */
enum {
    QVFLASH_RULE_NONE = 0,
    QVFLASH_RULE_ADMIN = 1,
    QVFLASH_RULE_USER = 2,
    QVFLASH_RULE_ADMIN_OR_USER = 3,
    QVFLASH_RULE_FORBIDDEN = 255
};

/* The number of access-switching operations of a section. */
#define QVFLASH_SECTION_OPERATIONS 6

/* An opaque token handle. */
typedef struct qvflash_TokenImpl_ qvflash_TokenImpl_;

/* A PIN or a host text: length bytes at data, no terminating NUL. */
typedef struct qvflash_String {
    size_t length;
    const char* data;
} qvflash_String;

/* One MVA record (a host snapshot) of 1 to 249 bytes. */
typedef struct qvflash_MvaRecord {
    size_t length;
    const uint8_t* data;
} qvflash_MvaRecord;

/* A new MVA object: at most recordCount (1..254) records of at most recordSize
 * (1..249) bytes, product below 33021, and attempts (1..10) failed logins. */
typedef struct qvflash_MvaParams {
    uint8_t recordCount;
    uint8_t recordSize;
    uint8_t attempts;
} qvflash_MvaParams;

/* Who may perform one access-switching operation of a section: rule is one of
 * the QVFLASH_RULE_ values; secretId 0 names no secret, otherwise the local PIN
 * or MVA object (3..31) of type secretType that also protects it. */
typedef struct qvflash_PrConds {
    uint32_t rule;
    uint16_t secretId;
    uint16_t padding;
    qvflash_SecretType secretType;
} qvflash_PrConds;

/* One section of the flash memory. On input id is not read: sections are
 * numbered by their position. Element i of conditions is the operation with
 * the value 1 << i. */
typedef struct qvflash_Section {
    uint8_t id;
    uint8_t padding[3];
    qvflash_SectionType type;
    uint32_t size;
    qvflash_SectionAccessState accessState;
    qvflash_PrConds conditions[QVFLASH_SECTION_OPERATIONS];
} qvflash_Section;

/* The host record of the security event journal; time is in seconds since
 * 1970-01-01 UTC. */
typedef struct qvflash_PcInfo {
    qvflash_String userName;
    qvflash_String domainName;
    qvflash_String osVersion;
    qvflash_String deviceName;
    int64_t time;
} qvflash_PcInfo;

/* Callers on other compilers rely on these layouts. */
#ifdef __cplusplus
#define QVFLASH_STATIC_ASSERT static_assert
#else
#define QVFLASH_STATIC_ASSERT _Static_assert
#endif
QVFLASH_STATIC_ASSERT(sizeof(qvflash_StatusCode) == 4, "qvflash_StatusCode is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_ConditionCode) == 4, "qvflash_ConditionCode is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_SectionAccessState) == 4, "qvflash_SectionAccessState is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_SectionType) == 4, "qvflash_SectionType is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_SecretType) == 4, "qvflash_SecretType is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_SecureType) == 4, "qvflash_SecureType is 32-bit");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_Condition) == 24, "qvflash_Condition layout");
QVFLASH_STATIC_ASSERT(offsetof(qvflash_Condition, detail) + offsetof(qvflash_ConditionDetail, kind) == 8,
                      "qvflash_Condition kind offset");
QVFLASH_STATIC_ASSERT(offsetof(qvflash_Condition, detail) + offsetof(qvflash_ConditionDetail, data) == 16,
                      "qvflash_Condition detail offset");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_String) == 16 && offsetof(qvflash_String, data) == 8, "qvflash_String layout");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_MvaRecord) == 16 && offsetof(qvflash_MvaRecord, data) == 8,
                      "qvflash_MvaRecord layout");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_MvaParams) == 3 && offsetof(qvflash_MvaParams, recordSize) == 1 &&
                          offsetof(qvflash_MvaParams, attempts) == 2,
                      "qvflash_MvaParams layout");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_PrConds) == 12 && offsetof(qvflash_PrConds, secretId) == 4 &&
                          offsetof(qvflash_PrConds, secretType) == 8,
                      "qvflash_PrConds layout");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_Section) == 88 && offsetof(qvflash_Section, type) == 4 &&
                          offsetof(qvflash_Section, size) == 8 && offsetof(qvflash_Section, accessState) == 12 &&
                          offsetof(qvflash_Section, conditions) == 16,
                      "qvflash_Section layout");
QVFLASH_STATIC_ASSERT(sizeof(qvflash_PcInfo) == 72 && offsetof(qvflash_PcInfo, domainName) == 16 &&
                          offsetof(qvflash_PcInfo, osVersion) == 32 && offsetof(qvflash_PcInfo, deviceName) == 48 &&
                          offsetof(qvflash_PcInfo, time) == 64,
                      "qvflash_PcInfo layout");
#undef QVFLASH_STATIC_ASSERT

/* Sets *description to the static English text of a status code, or to NULL
 * when the code has none. Does not change the last status. */
QVFLASH_API qvflash_StatusCode qvflash_status_description(qvflash_StatusCode code, const char** description);

/* Sets *description to the static English text of a condition code, or to NULL
 * when the code has none. Does not change the last status. */
QVFLASH_API qvflash_StatusCode qvflash_condition_description(qvflash_ConditionCode code, const char** description);

/* Copies the conditions of the calling thread's last status. An empty list is
 * NULL with count 0; any other list must be released with
 * qvflash_last_status_conditions_destroy. When copying fails, *conditions is
 * NULL and *count 0, with nothing left to release. Does not change the last
 * status. */
QVFLASH_API qvflash_StatusCode qvflash_last_status_conditions(qvflash_Condition** conditions, size_t* count);

/* Releases a list from qvflash_last_status_conditions and sets *conditions to
 * NULL. A NULL argument, a NULL list or a count of 0 releases nothing. */
QVFLASH_API void qvflash_last_status_conditions_destroy(qvflash_Condition** conditions, size_t count);

/*
 * Common rules of the functions below. A NULL required pointer (the token
 * handle, every out-parameter, the record and array pointers, the data of a
 * PIN, MVA record or host text with a non-zero length) gives
 * QVFLASH_ST_NULL_PTR_ARG before the card is touched; arguments are checked
 * before any card command. Out-parameters are written only on success (a list
 * function may have written the count when it fails). Lists are allocated by
 * the library, empty ones too, and must be released with their destroy
 * function, which sets the caller's pointer to NULL. Destroy functions take no
 * lock and leave the last status alone; every other function runs one at a
 * time in the process.
 */

/* Tokens and handles. */
/* The serials of the supported tokens, ascending; every card is asked. The
 * list is whole or fails: a card that cannot tell its serial (a PC/SC failure
 * or a refusal) fails the call with that failure. */
QVFLASH_API qvflash_StatusCode qvflash_create_token_list(uint64_t** serials, size_t* count);
QVFLASH_API void qvflash_destroy_token_list(uint64_t** serials);
/* Opens the token with the serial among the cards that tell theirs (of two,
 * the later in reader order); a card that cannot tell its serial is passed
 * over. When none has it, the first such card's failure is returned, or
 * QVFLASH_ST_DEVICE_NOT_FOUND when every card told its serial. */
QVFLASH_API qvflash_StatusCode qvflash_create_token(uint64_t serial, qvflash_TokenImpl_** token);
QVFLASH_API void qvflash_destroy_token(qvflash_TokenImpl_** token);
QVFLASH_API qvflash_StatusCode qvflash_is_token_supported(qvflash_TokenImpl_* token, bool* supported);

/* Logins: each one the card accepts is remembered until qvflash_logout and
 * presented again by every later operation. */
QVFLASH_API qvflash_StatusCode qvflash_login_user(qvflash_TokenImpl_* token, qvflash_String pin);
QVFLASH_API qvflash_StatusCode qvflash_login_admin(qvflash_TokenImpl_* token, qvflash_String pin);
QVFLASH_API qvflash_StatusCode qvflash_login_mva(qvflash_TokenImpl_* token, uint16_t mvaId, qvflash_MvaRecord record);
QVFLASH_API qvflash_StatusCode qvflash_login_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId,
                                                       qvflash_String pin);
QVFLASH_API qvflash_StatusCode qvflash_logout(qvflash_TokenImpl_* token);

/* Remaining login attempts; no attempt is spent. */
QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_user(qvflash_TokenImpl_* token, uint16_t* attempts);
QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_admin(qvflash_TokenImpl_* token,
                                                                          uint16_t* attempts);
QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_mva(qvflash_TokenImpl_* token, uint16_t mvaId,
                                                                        uint16_t* attempts);
QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_local_pin(qvflash_TokenImpl_* token,
                                                                              uint16_t localPinId, uint16_t* attempts);

/* Sections of the flash memory. */
QVFLASH_API qvflash_StatusCode qvflash_create_section_list(qvflash_TokenImpl_* token, qvflash_Section** sections,
                                                           size_t* count);
QVFLASH_API void qvflash_destroy_section_list(qvflash_Section** sections);
QVFLASH_API qvflash_StatusCode qvflash_get_available_flash_size(qvflash_TokenImpl_* token, uint32_t* size);
/* Repartitions, restarts the token and waits for it to come back: once a second, up to 60 s,
 * until a card tells the token's serial. Every other answer, any card's refusal included (also
 * from the reader the token was in), is passed over, so a token that comes back broken fails
 * only at the deadline. A failure after the card took the change carries
 * QVFLASH_COND_CHANGE_MADE; the token not back by the deadline is QVFLASH_ST_DEVICE_NOT_FOUND,
 * with QVFLASH_COND_LAST_REFUSAL when a card refused meanwhile. */
QVFLASH_API qvflash_StatusCode qvflash_split_into_sections(qvflash_TokenImpl_* token, const qvflash_Section* sections,
                                                           size_t count);
/* A permanent change restarts the token and waits for it to come back, as
 * qvflash_split_into_sections does. */
QVFLASH_API qvflash_StatusCode qvflash_change_section_access_rights(qvflash_TokenImpl_* token, uint8_t sectionId,
                                                                    qvflash_SectionAccessState state, bool permanent);

/* MVA objects. */
QVFLASH_API qvflash_StatusCode qvflash_create_mva_id_list(qvflash_TokenImpl_* token, uint16_t** ids, size_t* count);
QVFLASH_API void qvflash_destroy_mva_id_list(uint16_t** ids);
QVFLASH_API qvflash_StatusCode qvflash_create_mva(qvflash_TokenImpl_* token, const qvflash_MvaParams* params,
                                                  uint16_t* mvaId);
QVFLASH_API qvflash_StatusCode qvflash_mva_add_record(qvflash_TokenImpl_* token, uint16_t mvaId,
                                                      qvflash_MvaRecord record, uint8_t* recordId);
QVFLASH_API qvflash_StatusCode qvflash_mva_delete_record(qvflash_TokenImpl_* token, uint16_t mvaId, uint8_t recordId);
QVFLASH_API qvflash_StatusCode qvflash_mva_clear_all_records(qvflash_TokenImpl_* token, uint16_t mvaId);
QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_mva(qvflash_TokenImpl_* token, uint16_t mvaId);

/* Local PINs. */
QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId);
QVFLASH_API qvflash_StatusCode qvflash_create_local_pin_id_list(qvflash_TokenImpl_* token, uint16_t** ids,
                                                                size_t* count);
QVFLASH_API void qvflash_destroy_local_pin_id_list(uint16_t** ids);
QVFLASH_API qvflash_StatusCode qvflash_create_local_pin(qvflash_TokenImpl_* token, qvflash_String pin,
                                                        qvflash_SecureType secureType, uint16_t* localPinId);
/* Succeeds once the card has taken the new PIN: when the card then refuses a stored login of
 * that local PIN with the new PIN, the login is dropped and the change still succeeds. */
QVFLASH_API qvflash_StatusCode qvflash_change_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId,
                                                        qvflash_String newPin);

/* Writes one host record into the security event journal. */
QVFLASH_API qvflash_StatusCode qvflash_add_pc_info_to_journal(qvflash_TokenImpl_* token, const qvflash_PcInfo* info);

/* Restores the user PIN's attempts (needs the admin's login). */
QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_user(qvflash_TokenImpl_* token);

#ifdef __cplusplus
}
#endif

#endif /* QVFLASH_H */
