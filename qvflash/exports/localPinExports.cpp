// Exports that manage local PINs.
#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>
#include <qvflash-core/exports/idListExport.h>

using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;
using qvfl::exports::tokenOf;

namespace {

// Every local PIN this library creates allows ten failed logins.
constexpr std::uint8_t kLocalPinAttempts = 10;

} // namespace

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId)
{
    return executeSafe([&] { tokenOf(token).unblockLocalPin(localPinId); });
}

QVFLASH_API qvflash_StatusCode qvflash_create_local_pin_id_list(qvflash_TokenImpl_* token, uint16_t** ids,
                                                                size_t* count)
{
    return executeSafe([&] {
        requirePointers(token, ids, count);
        qvfl::exports::publishIdList(token->token->getLocalPinIdList(), ids, count);
    });
}

QVFLASH_API void qvflash_destroy_local_pin_id_list(uint16_t** ids)
{
    qvfl::exports::destroyApiList(ids);
}

QVFLASH_API qvflash_StatusCode qvflash_create_local_pin(qvflash_TokenImpl_* token, qvflash_String pin,
                                                        qvflash_SecureType secureType, uint16_t* localPinId)
{
    return executeSafe([&] {
        requirePointers(token, localPinId);
        std::vector<std::uint8_t> bytes = qvfl::convert::toCoreLocalPinContainer(pin);
        const qvfl::CoreSecureType coreType = qvfl::convert::toCoreSecureType(secureType);
        *localPinId = token->token->createLocalPin(std::move(bytes), kLocalPinAttempts, coreType);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_change_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId,
                                                        qvflash_String newPin)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        core.changeLocalPin(localPinId, qvfl::convert::toCoreLocalPinContainer(newPin));
    });
}

} // extern "C"
