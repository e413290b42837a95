/* The exported functions without a card: the status exports, the destroy
 * functions, and every NULL pointer, which must be refused before any reader
 * is looked at. */
#include "cCheck.h"

#include <qvflash.h>

#include <stdlib.h>
#include <string.h>

static void statusExports(void)
{
    const char* text = "unchanged";
    CHECK_STATUS(qvflash_status_description(QVFLASH_ST_INCORRECT_LOGIN, &text), QVFLASH_ST_OK);
    CHECK(text != NULL && strcmp(text, "Login is incorrect") == 0);
    CHECK_STATUS(qvflash_status_description(QVFLASH_ST_APDU_ERROR, &text), QVFLASH_ST_OK);
    CHECK(text == NULL);
    CHECK_STATUS(qvflash_condition_description(QVFLASH_COND_SECRET_ID, &text), QVFLASH_ST_OK);
    CHECK(text != NULL);

    /* A failed call leaves status 3 without conditions; a NULL out-pointer of
     * a description query does not replace it. */
    CHECK_STATUS(qvflash_logout(NULL), QVFLASH_ST_NULL_PTR_ARG);
    CHECK_STATUS(qvflash_status_description(QVFLASH_ST_OK, NULL), QVFLASH_ST_NULL_PTR_ARG);
    CHECK_STATUS(qvflash_condition_description(QVFLASH_COND_SECRET_ID, NULL), QVFLASH_ST_NULL_PTR_ARG);
    CHECK_NO_CONDITIONS();

    qvflash_Condition* conditions = NULL;
    size_t count = 0;
    CHECK_STATUS(qvflash_last_status_conditions(NULL, &count), QVFLASH_ST_NULL_PTR_ARG);
    CHECK_STATUS(qvflash_last_status_conditions(&conditions, NULL), QVFLASH_ST_NULL_PTR_ARG);
    qvflash_last_status_conditions_destroy(NULL, 3);
    qvflash_Condition kept;
    conditions = &kept;
    qvflash_last_status_conditions_destroy(&conditions, 0);
    CHECK(conditions == &kept);
}

static void destroyFunctions(void)
{
    qvflash_destroy_token_list(NULL);
    qvflash_destroy_section_list(NULL);
    qvflash_destroy_mva_id_list(NULL);
    qvflash_destroy_local_pin_id_list(NULL);
    qvflash_destroy_token(NULL);

    uint64_t* serials = NULL;
    qvflash_Section* sections = NULL;
    uint16_t* ids = NULL;
    qvflash_TokenImpl_* token = NULL;
    qvflash_destroy_token_list(&serials);
    qvflash_destroy_section_list(&sections);
    qvflash_destroy_mva_id_list(&ids);
    qvflash_destroy_local_pin_id_list(&ids);
    qvflash_destroy_token(&token);
    CHECK(serials == NULL && sections == NULL && ids == NULL && token == NULL);
}

/* Every export that takes a token refuses a NULL handle, and every required
 * out-pointer is tested before the readers are listed. */
static void nullPointers(void)
{
    const qvflash_String pin = {8, "12345678"};
    const uint8_t bytes[4] = {1, 2, 3, 4};
    const qvflash_MvaRecord record = {sizeof bytes, bytes};
    const qvflash_MvaParams params = {10, 10, 3};
    const qvflash_PcInfo info = {{1, "u"}, {1, "d"}, {1, "o"}, {1, "n"}, 0};
    qvflash_Section section;
    memset(&section, 0, sizeof section);
    uint64_t* serials = NULL;
    qvflash_Section* sections = NULL;
    uint16_t* ids = NULL;
    size_t count = 0;
    bool supported = false;
    uint16_t value16 = 0;
    uint32_t value32 = 0;
    uint8_t value8 = 0;
    const qvflash_StatusCode null = QVFLASH_ST_NULL_PTR_ARG;

    CHECK_STATUS(qvflash_create_token_list(NULL, &count), null);
    CHECK_STATUS(qvflash_create_token_list(&serials, NULL), null);
    CHECK(serials == NULL);
    CHECK_STATUS(qvflash_create_token(1, NULL), null);

    CHECK_STATUS(qvflash_is_token_supported(NULL, &supported), null);
    CHECK_STATUS(qvflash_login_user(NULL, pin), null);
    CHECK_STATUS(qvflash_login_admin(NULL, pin), null);
    CHECK_STATUS(qvflash_login_mva(NULL, 5, record), null);
    CHECK_STATUS(qvflash_login_local_pin(NULL, 3, pin), null);
    CHECK_STATUS(qvflash_logout(NULL), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_user(NULL, &value16), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_admin(NULL, &value16), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_mva(NULL, 5, &value16), null);
    CHECK_STATUS(qvflash_get_remaining_login_attempts_local_pin(NULL, 3, &value16), null);
    CHECK_STATUS(qvflash_create_section_list(NULL, &sections, &count), null);
    CHECK_STATUS(qvflash_get_available_flash_size(NULL, &value32), null);
    CHECK_STATUS(qvflash_split_into_sections(NULL, &section, 1), null);
    CHECK_STATUS(qvflash_change_section_access_rights(NULL, 1, QVFLASH_SECTION_READ_ONLY, false), null);
    CHECK_STATUS(qvflash_create_mva_id_list(NULL, &ids, &count), null);
    CHECK_STATUS(qvflash_create_mva(NULL, &params, &value16), null);
    CHECK_STATUS(qvflash_mva_add_record(NULL, 5, record, &value8), null);
    CHECK_STATUS(qvflash_mva_delete_record(NULL, 5, 1), null);
    CHECK_STATUS(qvflash_mva_clear_all_records(NULL, 5), null);
    CHECK_STATUS(qvflash_reset_login_attempts_mva(NULL, 5), null);
    CHECK_STATUS(qvflash_reset_login_attempts_local_pin(NULL, 3), null);
    CHECK_STATUS(qvflash_create_local_pin_id_list(NULL, &ids, &count), null);
    CHECK_STATUS(qvflash_create_local_pin(NULL, pin, QVFLASH_SECURE_ADMIN, &value16), null);
    CHECK_STATUS(qvflash_change_local_pin(NULL, 3, pin), null);
    CHECK_STATUS(qvflash_add_pc_info_to_journal(NULL, &info), null);
    CHECK_STATUS(qvflash_reset_login_attempts_user(NULL), null);
    CHECK(sections == NULL && ids == NULL && value8 == 0 && value16 == 0 && value32 == 0 && !supported);
}

int main(void)
{
    /* No reader must be reached: a stray call would fail on this socket. */
    setenv("PCSCLITE_CSOCK_NAME", "/nonexistent/pcscd.comm", 1);
    statusExports();
    destroyFunctions();
    nullPointers();
    return checkSummary();
}
