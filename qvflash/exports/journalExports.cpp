// The export that writes a host record into the security event journal.
#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>

using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_add_pc_info_to_journal(qvflash_TokenImpl_* token, const qvflash_PcInfo* info)
{
    return executeSafe([&] {
        requirePointers(token, info);
        token->token->logPcInfo(qvfl::convert::toCorePcInfo(*info));
    });
}

} // extern "C"
