/* The exported functions against a virtual token through the real pcscd: a
 * whole administration scenario, every validation error with the proof from
 * the card's APDU log that nothing was sent for it, and, with --bench, the
 * number of APDUs and the wall time of each call of the scenario.
 *
 *   qvflash-exports-scenario VIRTUAL_TOKEN_TOOL [--bench]
 *
 * Needs PCSCLITE_CSOCK_NAME and QVTOKEN_STATE_DIR of the card fixture. */
#define _POSIX_C_SOURCE 200809L

#include "cCheck.h"

#include <qvflash.h>

#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static const uint64_t kSerial = 5370277;
static const qvflash_String kAdminPin = {8, "59302814"};
static const qvflash_String kUserPin = {8, "40417263"};
/* The token's own local PIN, id 3. */
static const qvflash_String kLocalPin3 = {8, "13572468"};

static char logPath[4096];
static int benchmark;

/* ---- the card's APDU log ---- */

static char* readLog(void)
{
    FILE* file = fopen(logPath, "rb");
    if (file == NULL) {
        char* empty = calloc(1, 1);
        return empty;
    }
    size_t size = 0;
    size_t capacity = 4096;
    char* text = malloc(capacity);
    size_t got;
    while ((got = fread(text + size, 1, capacity - size - 1, file)) > 0) {
        size += got;
        if (capacity - size - 1 == 0) {
            capacity *= 2;
            text = realloc(text, capacity);
        }
    }
    text[size] = '\0';
    fclose(file);
    return text;
}

static long countExchanges(const char* text)
{
    long count = 0;
    for (const char* at = strstr(text, " -> "); at != NULL; at = strstr(at + 4, " -> ")) {
        ++count;
    }
    return count;
}

static size_t logMark(void)
{
    char* text = readLog();
    const size_t size = strlen(text);
    free(text);
    return size;
}

/* Whether the log, from mark on, holds this text. */
static int loggedSince(size_t mark, const char* bytes)
{
    char* text = readLog();
    const int found = strlen(text) >= mark && strstr(text + mark, bytes) != NULL;
    free(text);
    return found;
}

static long exchangesSince(size_t mark)
{
    char* text = readLog();
    const long count = strlen(text) >= mark ? countExchanges(text + mark) : -1;
    free(text);
    return count;
}

/* ---- per-call figures ---- */

static size_t stepMark;
static struct timespec stepStart;

static void beginStep(void)
{
    stepMark = logMark();
    clock_gettime(CLOCK_MONOTONIC, &stepStart);
}

static qvflash_StatusCode endStep(const char* name, qvflash_StatusCode status)
{
    struct timespec end;
    clock_gettime(CLOCK_MONOTONIC, &end);
    if (benchmark) {
        const double ms =
            (double)(end.tv_sec - stepStart.tv_sec) * 1000.0 + (double)(end.tv_nsec - stepStart.tv_nsec) / 1e6;
        printf("%-48s %6ld %10.2f\n", name, exchangesSince(stepMark), ms);
    }
    return status;
}

/* Runs one call of the scenario, timed and with its APDUs counted. */
#define STEP(name, call) (beginStep(), endStep((name), (call)))

/* ---- helpers ---- */

static int runTool(const char* tool, const char* action)
{
    char command[4608];
    snprintf(command, sizeof command, "'%s' %s %" PRIu64, tool, action, kSerial);
    return system(command);
}

static void pause200ms(void)
{
    const struct timespec delay = {0, 200000000L};
    nanosleep(&delay, NULL);
}

/* 1 listed, 0 not listed, -1 the listing failed (a card that left is still
 * shown as present until pcscd polls it, and fails the listing). */
static int listed(void)
{
    uint64_t* serials = NULL;
    size_t count = 0;
    if (qvflash_create_token_list(&serials, &count) != QVFLASH_ST_OK) {
        return -1;
    }
    int found = 0;
    for (size_t i = 0; i < count; ++i) {
        found = found || serials[i] == kSerial;
    }
    qvflash_destroy_token_list(&serials);
    return found;
}

/* Waits up to 15 s for the token to be listed, or to be gone from a listing
 * that succeeds (so that the next test of the fixture starts without it). */
static int waitUntilListed(int wanted)
{
    for (int tries = 0; tries < 75; ++tries) {
        if (listed() == wanted) {
            return 1;
        }
        pause200ms();
    }
    return 0;
}

static qvflash_PrConds prConds(uint32_t rule, uint16_t secretId, qvflash_SecretType type)
{
    qvflash_PrConds conditions;
    memset(&conditions, 0, sizeof conditions);
    conditions.rule = rule;
    conditions.secretId = secretId;
    conditions.secretType = type;
    return conditions;
}

static qvflash_Section userSection(uint32_t size)
{
    qvflash_Section section;
    memset(&section, 0, sizeof section);
    section.type = QVFLASH_SECTION_USER_FILES;
    section.size = size;
    section.accessState = QVFLASH_SECTION_READ_WRITE;
    section.conditions[0] = prConds(QVFLASH_RULE_ADMIN, 0, QVFLASH_SECRET_NONE);
    section.conditions[1] = prConds(QVFLASH_RULE_ADMIN_OR_USER, 0, QVFLASH_SECRET_NONE);
    return section;
}

/* A journal may be switched to read-only temporarily and nothing else. */
static qvflash_Section journalSection(uint32_t size)
{
    qvflash_Section section;
    memset(&section, 0, sizeof section);
    section.type = QVFLASH_SECTION_JOURNAL_EVENTS;
    section.size = size;
    section.accessState = QVFLASH_SECTION_HIDDEN;
    for (int i = 0; i < QVFLASH_SECTION_OPERATIONS; ++i) {
        section.conditions[i] = prConds(QVFLASH_RULE_FORBIDDEN, 0, QVFLASH_SECRET_NONE);
    }
    section.conditions[1] = prConds(QVFLASH_RULE_ADMIN, 0, QVFLASH_SECRET_NONE);
    return section;
}

static int sameConditions(const qvflash_PrConds* got, uint32_t rule, uint16_t id, qvflash_SecretType type)
{
    return got->rule == rule && got->secretId == id && got->padding == 0 && got->secretType == type;
}

/* ---- validation: refused before the card sees anything ---- */

static void refusedWithoutCardTraffic(qvflash_TokenImpl_* token)
{
    const size_t mark = logMark();
    const qvflash_StatusCode null = QVFLASH_ST_NULL_PTR_ARG;
    const uint8_t record[250] = {0};
    char longPin[40];
    memset(longPin, '7', sizeof longPin);
    uint16_t id = 0;
    uint8_t recordId = 0;
    size_t count = 0;
    qvflash_Section* sections = NULL;
    uint16_t* ids = NULL;

    /* PIN texts: NULL data with a length is refused, not read. */
    const qvflash_String nullPin = {8, NULL};
    CHECK_STATUS(qvflash_login_user(token, nullPin), null);
    CHECK_STATUS(qvflash_login_admin(token, nullPin), null);
    const qvflash_String emptyPin = {0, ""};
    CHECK_STATUS(qvflash_login_user(token, emptyPin), QVFLASH_ST_INCORRECT_LOGIN);
    CHECK_NO_CONDITIONS();
    const qvflash_String noPin = {0, NULL};
    CHECK_STATUS(qvflash_login_admin(token, noPin), QVFLASH_ST_INCORRECT_LOGIN);

    /* Secret sizes: wrong sizes are wrong logins; missing data stays 3. */
    const qvflash_MvaRecord tooLong = {250, record};
    CHECK_STATUS(qvflash_login_mva(token, 5, tooLong), QVFLASH_ST_INCORRECT_LOGIN);
    CHECK_NO_CONDITIONS();
    const qvflash_MvaRecord noRecord = {0, NULL};
    CHECK_STATUS(qvflash_login_mva(token, 5, noRecord), null);
    const qvflash_String shortPin = {5, "12345"};
    CHECK_STATUS(qvflash_login_local_pin(token, 3, shortPin), QVFLASH_ST_INCORRECT_LOGIN);
    CHECK_STATUS(qvflash_login_local_pin(token, 3, nullPin), null);

    /* Out-pointers. */
    CHECK_STATUS(qvflash_is_token_supported(token, NULL), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_user(token, NULL), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_admin(token, NULL), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_mva(token, 5, NULL), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_local_pin(token, 3, NULL), null);
    CHECK_STATUS(qvflash_create_section_list(token, NULL, &count), null);
    CHECK_STATUS(qvflash_create_section_list(token, &sections, NULL), null);
    CHECK_STATUS(qvflash_get_available_flash_size(token, NULL), null);
    CHECK_STATUS(qvflash_create_mva_id_list(token, NULL, &count), null);
    CHECK_STATUS(qvflash_create_mva_id_list(token, &ids, NULL), null);
    CHECK_STATUS(qvflash_create_local_pin_id_list(token, NULL, &count), null);
    CHECK_STATUS(qvflash_create_local_pin_id_list(token, &ids, NULL), null);
    CHECK_STATUS(qvflash_create_mva(token, NULL, &id), null);
    const qvflash_MvaParams params = {10, 10, 3};
    CHECK_STATUS(qvflash_create_mva(token, &params, NULL), null);
    CHECK_STATUS(qvflash_add_pc_info_to_journal(token, NULL), null);
    CHECK(sections == NULL && ids == NULL);

    /* Sections: the first broken rule of the first broken record decides. */
    CHECK_STATUS(qvflash_split_into_sections(token, NULL, 0), null);
    qvflash_Section split[2] = {userSection(1024), journalSection(1000)};
    split[1].accessState = (qvflash_SectionAccessState)2;
    CHECK_STATUS(qvflash_split_into_sections(token, split, 2), QVFLASH_ST_INTERNAL_ERROR);
    CHECK_TEXT_CONDITION(QVFLASH_COND_STD_EXCEPTION, "Unknown qvflash_SectionAccessState");
    split[1] = journalSection(1000);
    split[1].type = (qvflash_SectionType)4;
    CHECK_STATUS(qvflash_split_into_sections(token, split, 2), QVFLASH_ST_INTERNAL_ERROR);
    CHECK_TEXT_CONDITION(QVFLASH_COND_STD_EXCEPTION, "Unknown qvflash_SectionType");
    split[1] = journalSection(1000);
    const struct {
        qvflash_PrConds conditions;
        qvflash_StatusCode status;
        int64_t id;
    } badConditions[] = {
        {{4, 0, 0, QVFLASH_SECRET_NONE}, QVFLASH_ST_INVALID_PROTECT_CONDITIONS, -1},
        {{255, 3, 0, QVFLASH_SECRET_LOCAL_PIN}, QVFLASH_ST_INVALID_PROTECT_CONDITIONS, -1},
        {{1, 0, 0, QVFLASH_SECRET_NOT_FOUND}, QVFLASH_ST_INVALID_PROTECT_CONDITIONS, -1},
        {{1, 2, 0, QVFLASH_SECRET_LOCAL_PIN}, QVFLASH_ST_INVALID_SECRET_ID, 2},
        {{2, 32, 0, QVFLASH_SECRET_LOCAL_PIN}, QVFLASH_ST_INVALID_SECRET_ID, 32},
    };
    for (size_t i = 0; i < sizeof badConditions / sizeof badConditions[0]; ++i) {
        split[0] = userSection(1024);
        split[0].conditions[4] = badConditions[i].conditions;
        /* An error in a later element must not hide this one. */
        split[0].conditions[5] = prConds(7, 0, QVFLASH_SECRET_NONE);
        CHECK_STATUS(qvflash_split_into_sections(token, split, 2), badConditions[i].status);
        if (badConditions[i].id >= 0) {
            CHECK_INT_CONDITION(QVFLASH_COND_SECRET_ID, badConditions[i].id);
        } else {
            CHECK_NO_CONDITIONS();
        }
    }

    /* Access states outside the four are refused, never cut to one byte. */
    CHECK_STATUS(qvflash_change_section_access_rights(token, 1, (qvflash_SectionAccessState)0x101, false),
                 QVFLASH_ST_INTERNAL_ERROR);
    CHECK_TEXT_CONDITION(QVFLASH_COND_STD_EXCEPTION, "Unknown qvflash_SectionAccessState");
    CHECK_STATUS(qvflash_change_section_access_rights(token, 1, (qvflash_SectionAccessState)2, true),
                 QVFLASH_ST_INTERNAL_ERROR);
    CHECK_STATUS(qvflash_change_section_access_rights(token, 1, QVFLASH_SECTION_CD_ROM, false),
                 QVFLASH_ST_CD_ROM_PERMANENT_ONLY);

    /* MVA parameters and records. */
    const struct {
        qvflash_MvaParams params;
        qvflash_StatusCode status;
    } badParams[] = {
        {{0, 10, 3}, QVFLASH_ST_INVALID_RECORD_COUNT},    {{255, 10, 3}, QVFLASH_ST_INVALID_RECORD_COUNT},
        {{10, 250, 3}, QVFLASH_ST_INVALID_RECORD_SIZE},   {{10, 0, 3}, QVFLASH_ST_INVALID_RECORD_SIZE},
        {{200, 200, 3}, QVFLASH_ST_INVALID_MVA_SIZE},     {{10, 10, 0}, QVFLASH_ST_INVALID_ATTEMPT_COUNT},
        {{10, 10, 11}, QVFLASH_ST_INVALID_ATTEMPT_COUNT},
    };
    for (size_t i = 0; i < sizeof badParams / sizeof badParams[0]; ++i) {
        CHECK_STATUS(qvflash_create_mva(token, &badParams[i].params, &id), badParams[i].status);
    }
    const qvflash_MvaRecord emptyRecord = {0, record};
    CHECK_STATUS(qvflash_mva_add_record(token, 5, emptyRecord, &recordId), QVFLASH_ST_INVALID_RECORD_SIZE);
    CHECK_STATUS(qvflash_mva_add_record(token, 5, tooLong, &recordId), QVFLASH_ST_INVALID_RECORD_SIZE);
    CHECK_STATUS(qvflash_mva_add_record(token, 5, noRecord, &recordId), null);
    const qvflash_MvaRecord oneByte = {1, record};
    CHECK_STATUS(qvflash_mva_add_record(token, 5, oneByte, NULL), null);

    /* Local PINs: the PIN is judged before the secure type. */
    const qvflash_String goodPin = {8, "24681357"};
    CHECK_STATUS(qvflash_create_local_pin(token, goodPin, QVFLASH_SECURE_NONE, &id), QVFLASH_ST_INVALID_SECRET_TYPE);
    CHECK_TEXT_CONDITION(QVFLASH_COND_EXPECTED_SECRET_TYPE, "Expected: admin, user, local pin. Got none");
    CHECK_STATUS(qvflash_create_local_pin(token, goodPin, (qvflash_SecureType)4, &id), QVFLASH_ST_INTERNAL_ERROR);
    CHECK_TEXT_CONDITION(QVFLASH_COND_STD_EXCEPTION, "Unknown qvflash_SecureType");
    const qvflash_String pin33 = {33, longPin};
    CHECK_STATUS(qvflash_create_local_pin(token, pin33, QVFLASH_SECURE_NONE, &id), QVFLASH_ST_INVALID_PIN_SIZE);
    CHECK_STATUS(qvflash_create_local_pin(token, nullPin, QVFLASH_SECURE_ADMIN, &id), null);
    CHECK_STATUS(qvflash_create_local_pin(token, goodPin, QVFLASH_SECURE_ADMIN, NULL), null);
    CHECK_STATUS(qvflash_change_local_pin(token, 3, shortPin), QVFLASH_ST_INVALID_PIN_SIZE);
    CHECK_STATUS(qvflash_change_local_pin(token, 3, nullPin), null);

    /* Journal texts: NULL data with a length is refused, not read. */
    qvflash_PcInfo info = {{4, "user"}, {6, "domain"}, {5, "Linux"}, {4, NULL}, 0};
    CHECK_STATUS(qvflash_add_pc_info_to_journal(token, &info), null);

    /* Remaining attempts of local ids outside 3..31 (259 would be 3 in one byte). */
    const uint16_t outOfRange[] = {1, 2, 32, 259};
    uint16_t attempts = 0;
    int64_t reported = -1;
    for (size_t i = 0; i < sizeof outOfRange / sizeof outOfRange[0]; ++i) {
        CHECK_STATUS(qvflash_get_remaining_login_attempts_mva(token, outOfRange[i], &attempts),
                     QVFLASH_ST_INVALID_SECRET_ID);
        CHECK(lastIntCondition(QVFLASH_COND_SECRET_ID, &reported) && reported == outOfRange[i]);
        CHECK_STATUS(qvflash_get_remaining_login_attempts_local_pin(token, outOfRange[i], &attempts),
                     QVFLASH_ST_INVALID_SECRET_ID);
        CHECK(lastIntCondition(QVFLASH_COND_SECRET_ID, &reported) && reported == outOfRange[i]);
    }
    CHECK(attempts == 0);

    CHECK(id == 0 && recordId == 0);
    CHECK(exchangesSince(mark) == 0);
}

/* ---- the scenario ---- */

static void tokenList(void)
{
    uint64_t* serials = NULL;
    size_t count = 0;
    CHECK_STATUS(STEP("qvflash_create_token_list", qvflash_create_token_list(&serials, &count)), QVFLASH_ST_OK);
    int found = 0;
    for (size_t i = 0; i < count; ++i) {
        found = found || serials[i] == kSerial;
        CHECK(i == 0 || serials[i - 1] < serials[i]);
    }
    CHECK(found);
    qvflash_destroy_token_list(&serials);
    CHECK(serials == NULL);

    qvflash_TokenImpl_* absent = (qvflash_TokenImpl_*)&found;
    CHECK_STATUS(qvflash_create_token(kSerial + 1, &absent), QVFLASH_ST_DEVICE_NOT_FOUND);
    CHECK(absent == (qvflash_TokenImpl_*)&found);
}

static void logins(qvflash_TokenImpl_* token)
{
    uint16_t attempts = 0;
    CHECK_STATUS(STEP("qvflash_get_remaining_login_attempts_admin",
                      qvflash_get_remaining_login_attempts_admin(token, &attempts)),
                 QVFLASH_ST_OK);
    CHECK(attempts == 10);

    const qvflash_String wrong = {8, "00000000"};
    CHECK_STATUS(qvflash_login_admin(token, wrong), QVFLASH_ST_INCORRECT_LOGIN);
    int64_t left = -1;
    CHECK(lastIntCondition(QVFLASH_COND_REMAINING_ATTEMPTS, &left) && left == 9);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_admin(token, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 9);

    const size_t mark = logMark();
    CHECK_STATUS(STEP("qvflash_login_admin", qvflash_login_admin(token, kAdminPin)), QVFLASH_ST_OK);
    CHECK(loggedSince(mark, "00 20 00 01 08 35 39 33 30 32 38 31 34"));
    CHECK_STATUS(qvflash_get_remaining_login_attempts_admin(token, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 10);
    CHECK_STATUS(STEP("qvflash_login_user", qvflash_login_user(token, kUserPin)), QVFLASH_ST_OK);
    CHECK_STATUS(
        STEP("qvflash_get_remaining_login_attempts_user", qvflash_get_remaining_login_attempts_user(token, &attempts)),
        QVFLASH_ST_OK);
    CHECK(attempts == 10);
}

static void sections(qvflash_TokenImpl_* token)
{
    qvflash_Section* list = NULL;
    size_t count = 99;
    CHECK_STATUS(STEP("qvflash_create_section_list (none)", qvflash_create_section_list(token, &list, &count)),
                 QVFLASH_ST_OK);
    CHECK(list != NULL && count == 0);
    qvflash_destroy_section_list(&list);
    CHECK(list == NULL);

    uint32_t available = 0;
    CHECK_STATUS(STEP("qvflash_get_available_flash_size", qvflash_get_available_flash_size(token, &available)),
                 QVFLASH_ST_OK);
    CHECK(available == 4096);

    /* Protecting objects must exist and be of the type named. */
    qvflash_Section split[2] = {userSection(2048), journalSection(1000)};
    split[0].conditions[2] = prConds(QVFLASH_RULE_USER, 9, QVFLASH_SECRET_LOCAL_PIN);
    CHECK_STATUS(qvflash_split_into_sections(token, split, 2), QVFLASH_ST_FILE_NOT_FOUND);
    split[0].conditions[2] = prConds(QVFLASH_RULE_USER, 3, QVFLASH_SECRET_MVA);
    CHECK_STATUS(qvflash_split_into_sections(token, split, 2), QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    CHECK_INT_CONDITION(QVFLASH_COND_SECRET_ID, 3);
    CHECK_STATUS(qvflash_split_into_sections(token, split, 0), QVFLASH_ST_INVALID_SECTION_COUNT);

    split[0].conditions[2] = prConds(QVFLASH_RULE_USER, 3, QVFLASH_SECRET_LOCAL_PIN);
    split[0].id = 77; /* not read */
    CHECK_STATUS(STEP("qvflash_split_into_sections", qvflash_split_into_sections(token, split, 2)), QVFLASH_ST_OK);

    CHECK_STATUS(STEP("qvflash_create_section_list", qvflash_create_section_list(token, &list, &count)), QVFLASH_ST_OK);
    CHECK(count == 2);
    if (count == 2) {
        CHECK(list[0].id == 1 && list[0].type == QVFLASH_SECTION_USER_FILES && list[0].size == 2048 &&
              list[0].accessState == QVFLASH_SECTION_READ_WRITE);
        CHECK(list[0].padding[0] == 0 && list[0].padding[1] == 0 && list[0].padding[2] == 0);
        CHECK(sameConditions(&list[0].conditions[0], QVFLASH_RULE_ADMIN, 0, QVFLASH_SECRET_NONE));
        CHECK(sameConditions(&list[0].conditions[1], QVFLASH_RULE_ADMIN_OR_USER, 0, QVFLASH_SECRET_NONE));
        CHECK(sameConditions(&list[0].conditions[2], QVFLASH_RULE_USER, 3, QVFLASH_SECRET_LOCAL_PIN));
        CHECK(sameConditions(&list[0].conditions[3], QVFLASH_RULE_NONE, 0, QVFLASH_SECRET_NONE));
        CHECK(list[1].id == 2 && list[1].type == QVFLASH_SECTION_JOURNAL_EVENTS && list[1].size == 1000 &&
              list[1].accessState == QVFLASH_SECTION_HIDDEN);
        CHECK(sameConditions(&list[1].conditions[0], QVFLASH_RULE_FORBIDDEN, 0, QVFLASH_SECRET_NONE));
        CHECK(sameConditions(&list[1].conditions[1], QVFLASH_RULE_ADMIN, 0, QVFLASH_SECRET_NONE));
    }
    qvflash_destroy_section_list(&list);

    CHECK_STATUS(qvflash_change_section_access_rights(token, 2, QVFLASH_SECTION_READ_WRITE, false),
                 QVFLASH_ST_JOURNAL_READ_ONLY_TEMP);
    CHECK_STATUS(qvflash_change_section_access_rights(token, 9, QVFLASH_SECTION_READ_ONLY, false),
                 QVFLASH_ST_INVALID_SECTION_ID);
    size_t mark = logMark();
    CHECK_STATUS(STEP("qvflash_change_section_access_rights (temporary)",
                      qvflash_change_section_access_rights(token, 1, QVFLASH_SECTION_READ_ONLY, false)),
                 QVFLASH_ST_OK);
    CHECK(loggedSince(mark, "80 53 11 01 04 82 02 01 01"));
    mark = logMark();
    CHECK_STATUS(STEP("qvflash_change_section_access_rights (permanent)",
                      qvflash_change_section_access_rights(token, 1, QVFLASH_SECTION_CD_ROM, true)),
                 QVFLASH_ST_OK);
    CHECK(loggedSince(mark, "80 53 11 02 04 82 02 01 05"));
    CHECK(loggedSince(mark, "80 53 14 00"));
    CHECK_STATUS(qvflash_create_section_list(token, &list, &count), QVFLASH_ST_OK);
    CHECK(count == 2 && list[0].accessState == QVFLASH_SECTION_CD_ROM);
    qvflash_destroy_section_list(&list);
}

/* A remembered local login whose secret then changes would fail every later
 * operation: start again from the PIN logins. */
static void loginAgain(qvflash_TokenImpl_* token)
{
    CHECK_STATUS(qvflash_logout(token), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_admin(token, kAdminPin), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_user(token, kUserPin), QVFLASH_ST_OK);
}

static void localPins(qvflash_TokenImpl_* token)
{
    const qvflash_String pin = {8, "24681357"};
    uint16_t id = 0;
    CHECK_STATUS(STEP("qvflash_create_local_pin", qvflash_create_local_pin(token, pin, QVFLASH_SECURE_ADMIN, &id)),
                 QVFLASH_ST_OK);
    CHECK(id == 4);

    uint16_t* ids = NULL;
    size_t count = 0;
    CHECK_STATUS(STEP("qvflash_create_local_pin_id_list", qvflash_create_local_pin_id_list(token, &ids, &count)),
                 QVFLASH_ST_OK);
    CHECK(count == 2 && ids[0] == 3 && ids[1] == 4);
    qvflash_destroy_local_pin_id_list(&ids);
    CHECK(ids == NULL);

    CHECK_STATUS(STEP("qvflash_login_local_pin", qvflash_login_local_pin(token, 4, pin)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_local_pin(token, 3, kLocalPin3), QVFLASH_ST_OK);
    loginAgain(token);
    const qvflash_String newPin = {10, "1122334455"};
    CHECK_STATUS(STEP("qvflash_change_local_pin", qvflash_change_local_pin(token, 4, newPin)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_local_pin(token, 4, pin), QVFLASH_ST_INCORRECT_LOGIN);
    int64_t left = -1;
    CHECK(lastIntCondition(QVFLASH_COND_REMAINING_ATTEMPTS, &left) && left == 9);
    uint16_t attempts = 0;
    CHECK_STATUS(STEP("qvflash_get_remaining_login_attempts_local_pin",
                      qvflash_get_remaining_login_attempts_local_pin(token, 4, &attempts)),
                 QVFLASH_ST_OK);
    CHECK(attempts == 9);
    CHECK_STATUS(STEP("qvflash_reset_login_attempts_local_pin", qvflash_reset_login_attempts_local_pin(token, 4)),
                 QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_local_pin(token, 4, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 10);
}

static void mvaObjects(qvflash_TokenImpl_* token)
{
    const qvflash_MvaParams params = {10, 16, 3};
    uint16_t id = 0;
    CHECK_STATUS(STEP("qvflash_create_mva", qvflash_create_mva(token, &params, &id)), QVFLASH_ST_OK);
    CHECK(id == 5);

    uint16_t* ids = NULL;
    size_t count = 0;
    CHECK_STATUS(STEP("qvflash_create_mva_id_list", qvflash_create_mva_id_list(token, &ids, &count)), QVFLASH_ST_OK);
    CHECK(count == 1 && ids[0] == 5);
    qvflash_destroy_mva_id_list(&ids);
    CHECK(ids == NULL);

    const uint8_t first[12] = {'h', 'o', 's', 't', '-', 's', 'n', 'a', 'p', 's', 'h', '1'};
    const uint8_t second[6] = {'s', 'e', 'c', 'o', 'n', 'd'};
    const qvflash_MvaRecord recordA = {sizeof first, first};
    const qvflash_MvaRecord recordB = {sizeof second, second};
    uint8_t number = 0;
    CHECK_STATUS(STEP("qvflash_mva_add_record", qvflash_mva_add_record(token, 5, recordA, &number)), QVFLASH_ST_OK);
    const uint8_t numberA = number;
    CHECK_STATUS(qvflash_mva_add_record(token, 5, recordB, &number), QVFLASH_ST_OK);
    CHECK(numberA != number);

    CHECK_STATUS(STEP("qvflash_login_mva", qvflash_login_mva(token, 5, recordB)), QVFLASH_ST_OK);
    loginAgain(token);
    const uint8_t strange[3] = {1, 2, 3};
    const qvflash_MvaRecord unknown = {sizeof strange, strange};
    CHECK_STATUS(qvflash_login_mva(token, 5, unknown), QVFLASH_ST_RECORD_MISMATCH);
    int64_t left = -1;
    CHECK(lastIntCondition(QVFLASH_COND_REMAINING_ATTEMPTS, &left) && left == 2);
    uint16_t attempts = 0;
    CHECK_STATUS(
        STEP("qvflash_get_remaining_login_attempts_mva", qvflash_get_remaining_login_attempts_mva(token, 5, &attempts)),
        QVFLASH_ST_OK);
    CHECK(attempts == 2);
    CHECK_STATUS(STEP("qvflash_reset_login_attempts_mva", qvflash_reset_login_attempts_mva(token, 5)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_mva(token, 5, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 3);

    /* Each kind's attempts are asked only of its own ids: no count of another secret. */
    const size_t mark = logMark();
    int64_t expected = 0;
    CHECK_STATUS(qvflash_get_remaining_login_attempts_local_pin(token, 5, &attempts),
                 QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    CHECK(lastIntCondition(QVFLASH_COND_EXPECTED_SECRET_TYPE, &expected) && expected == 2);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_mva(token, 3, &attempts), QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH);
    CHECK(lastIntCondition(QVFLASH_COND_EXPECTED_SECRET_TYPE, &expected) && expected == 1);
    CHECK(!loggedSince(mark, "00 20 00 85") && !loggedSince(mark, "00 20 00 83") && attempts == 3);

    CHECK_STATUS(STEP("qvflash_mva_delete_record", qvflash_mva_delete_record(token, 5, numberA)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_mva(token, 5, recordA), QVFLASH_ST_RECORD_MISMATCH);
    CHECK_STATUS(STEP("qvflash_mva_clear_all_records", qvflash_mva_clear_all_records(token, 5)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_login_mva(token, 5, recordB), QVFLASH_ST_RECORD_MISMATCH);
    CHECK_STATUS(qvflash_reset_login_attempts_mva(token, 5), QVFLASH_ST_OK);
}

static void journalAndUnblock(qvflash_TokenImpl_* token)
{
    const qvflash_PcInfo info = {{5, "alice"}, {0, NULL}, {12, "Debian 12.4 "}, {6, "host-7"}, 1767225600};
    const size_t mark = logMark();
    CHECK_STATUS(STEP("qvflash_add_pc_info_to_journal", qvflash_add_pc_info_to_journal(token, &info)), QVFLASH_ST_OK);
    CHECK(loggedSince(mark, "61 6C 69 63 65"));

    const qvflash_String wrong = {8, "00000000"};
    CHECK_STATUS(qvflash_login_user(token, wrong), QVFLASH_ST_INCORRECT_LOGIN);
    uint16_t attempts = 0;
    CHECK_STATUS(qvflash_get_remaining_login_attempts_user(token, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 9);
    CHECK_STATUS(STEP("qvflash_reset_login_attempts_user", qvflash_reset_login_attempts_user(token)), QVFLASH_ST_OK);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_user(token, &attempts), QVFLASH_ST_OK);
    CHECK(attempts == 10);
}

/* An id outside 3..31 fails the list after the count was written; the array
 * is released inside (the sanitizer build sees a leak otherwise). */
static void strayIdentifier(qvflash_TokenImpl_* token, const char* tool)
{
    CHECK(runTool(tool, "stray-mva") == 0);
    uint16_t* ids = NULL;
    size_t count = 0;
    CHECK_STATUS(qvflash_create_mva_id_list(token, &ids, &count), QVFLASH_ST_INVALID_SECRET_ID);
    CHECK_INT_CONDITION(QVFLASH_COND_SECRET_ID, 40);
    CHECK(count == 2 && ids == NULL);
}

/* A section listing names a protecting object that is gone as such. */
static void vanishedSecret(qvflash_TokenImpl_* token, const char* tool)
{
    CHECK(runTool(tool, "drop-local-pin") == 0);
    qvflash_Section* list = NULL;
    size_t count = 0;
    CHECK_STATUS(qvflash_create_section_list(token, &list, &count), QVFLASH_ST_OK);
    CHECK(count == 2 && sameConditions(&list[0].conditions[2], QVFLASH_RULE_USER, 3, QVFLASH_SECRET_NOT_FOUND));
    qvflash_destroy_section_list(&list);
}

static void logoutAndClose(qvflash_TokenImpl_** token)
{
    CHECK_STATUS(STEP("qvflash_logout", qvflash_logout(*token)), QVFLASH_ST_OK);
    /* Admin operations fail again as before any login. */
    const qvflash_MvaParams params = {2, 2, 2};
    uint16_t id = 0;
    CHECK(qvflash_create_mva(*token, &params, &id) != QVFLASH_ST_OK);
    CHECK(qvflash_reset_login_attempts_user(*token) != QVFLASH_ST_OK);

    const size_t mark = logMark();
    qvflash_destroy_token(token);
    CHECK(*token == NULL);
    qvflash_destroy_token(token);
    CHECK(exchangesSince(mark) == 0);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: qvflash-exports-scenario VIRTUAL_TOKEN_TOOL [--bench]\n");
        return 2;
    }
    const char* tool = argv[1];
    benchmark = argc > 2 && strcmp(argv[2], "--bench") == 0;
    const char* stateDir = getenv("QVTOKEN_STATE_DIR");
    if (stateDir == NULL) {
        fprintf(stderr, "QVTOKEN_STATE_DIR is not set: run under the card fixture\n");
        return 2;
    }
    snprintf(logPath, sizeof logPath, "%s/%" PRIu64 ".apdu.log", stateDir, kSerial);

    runTool(tool, "remove >/dev/null 2>&1");
    CHECK(runTool(tool, "add") == 0);
    CHECK(waitUntilListed(1));
    if (benchmark) {
        printf("%-48s %6s %10s\n", "export", "APDUs", "ms");
    }

    tokenList();
    qvflash_TokenImpl_* token = NULL;
    CHECK_STATUS(STEP("qvflash_create_token", qvflash_create_token(kSerial, &token)), QVFLASH_ST_OK);
    if (token != NULL) {
        bool supported = false;
        CHECK_STATUS(STEP("qvflash_is_token_supported", qvflash_is_token_supported(token, &supported)), QVFLASH_ST_OK);
        CHECK(supported);
        refusedWithoutCardTraffic(token);
        logins(token);
        sections(token);
        localPins(token);
        mvaObjects(token);
        journalAndUnblock(token);
        strayIdentifier(token, tool);
        vanishedSecret(token, tool);
        logoutAndClose(&token);
    }
    CHECK(runTool(tool, "remove") == 0);
    CHECK(waitUntilListed(0));
    return checkSummary();
}
