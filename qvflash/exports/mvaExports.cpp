// Exports that manage MVA objects: files of host-snapshot records used as a
// login.
#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>
#include <qvflash-core/exports/idListExport.h>

using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;
using qvfl::exports::tokenOf;

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_create_mva_id_list(qvflash_TokenImpl_* token, uint16_t** ids, size_t* count)
{
    return executeSafe([&] {
        requirePointers(token, ids, count);
        qvfl::exports::publishIdList(token->token->getMvaIdList(), ids, count);
    });
}

QVFLASH_API void qvflash_destroy_mva_id_list(uint16_t** ids)
{
    qvfl::exports::destroyApiList(ids);
}

QVFLASH_API qvflash_StatusCode qvflash_create_mva(qvflash_TokenImpl_* token, const qvflash_MvaParams* params,
                                                  uint16_t* mvaId)
{
    return executeSafe([&] {
        requirePointers(token, params, mvaId);
        *mvaId = token->token->createMva(params->recordCount, params->recordSize, params->attempts);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_mva_add_record(qvflash_TokenImpl_* token, uint16_t mvaId,
                                                      qvflash_MvaRecord record, uint8_t* recordId)
{
    return executeSafe([&] {
        requirePointers(token, recordId);
        const std::vector<std::uint8_t> bytes = qvfl::convert::toMvaRecord(record);
        *recordId = token->token->addMvaRecord(mvaId, bytes);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_mva_delete_record(qvflash_TokenImpl_* token, uint16_t mvaId, uint8_t recordId)
{
    return executeSafe([&] { tokenOf(token).eraseRecordFromMva(mvaId, recordId); });
}

QVFLASH_API qvflash_StatusCode qvflash_mva_clear_all_records(qvflash_TokenImpl_* token, uint16_t mvaId)
{
    return executeSafe([&] { tokenOf(token).clearMva(mvaId); });
}

QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_mva(qvflash_TokenImpl_* token, uint16_t mvaId)
{
    return executeSafe([&] { tokenOf(token).unblockMva(mvaId); });
}

} // extern "C"
