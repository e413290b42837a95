#include "Entries.h"
#include "ListAnswer.h"
#include "Module.h"
#include "TokenRecords.h"

#include <cstring>

namespace qvstandin::entries {

namespace {

Module& module()
{
    return Module::instance();
}

} // namespace

CK_RV initialize(CK_VOID_PTR args)
{
    return module().initialize(args);
}

CK_RV finalize(CK_VOID_PTR reserved)
{
    return module().finalize(reserved);
}

CK_RV getInfo(CK_INFO_PTR info)
{
    return module().onModule("C_GetInfo", {}, [&]() -> CK_RV {
        if (info == nullptr)
            return CKR_ARGUMENTS_BAD;
        std::memset(info, 0, sizeof *info);
        info->cryptokiVersion = CK_VERSION{2, 40};
        padText(info->manufacturerID, sizeof info->manufacturerID, "Quorvik");
        padText(info->libraryDescription, sizeof info->libraryDescription, "qvpkcs11zrn virtual tokens");
        info->libraryVersion = CK_VERSION{1, 0};
        return CKR_OK;
    });
}

CK_RV getSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID_PTR list, CK_ULONG_PTR count)
{
    // Rules for "C_GetSlotList:list" fire on the listing calls (with a buffer) only, so the
    // first k second calls of the two-call protocol can fail while every count query passes.
    return module().onModule(
        "C_GetSlotList", {{"tokenPresent", tokenPresent}, {"list", list != nullptr}},
        [&]() -> CK_RV {
            if (count == nullptr)
                return CKR_ARGUMENTS_BAD;
            const auto& slots = module().listedSlots();
            return answerList(list, count, slots.size(), [&](CK_SLOT_ID_PTR out) {
                for (const auto& slot : slots)
                    *out++ = slot.id;
            });
        },
        list != nullptr ? "C_GetSlotList:list" : nullptr);
}

CK_RV getSlotInfo(CK_SLOT_ID slot, CK_SLOT_INFO_PTR info)
{
    return module().onSlot("C_GetSlotInfo", slot, {{"slot", slot}}, [&](CallContext& call) -> CK_RV {
        if (info == nullptr)
            return CKR_ARGUMENTS_BAD;
        const auto token = call.listedToken();
        fillSlotInfo(token, !token.switches.listedNotPresent, *info);
        return CKR_OK;
    });
}

CK_RV getTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO_PTR info)
{
    return module().onSlot("C_GetTokenInfo", slot, {{"slot", slot}}, [&](CallContext& call) -> CK_RV {
        if (info == nullptr)
            return CKR_ARGUMENTS_BAD;
        fillTokenInfo(call.token(), call.sessions().countOn(slot), call.sessions().countOn(slot, CKF_RW_SESSION),
                      *info);
        return CKR_OK;
    });
}

CK_RV getMechanismList(CK_SLOT_ID slot, CK_MECHANISM_TYPE_PTR /*list*/, CK_ULONG_PTR count)
{
    // The tokens offer no mechanism through this module; a general client still lists them.
    return module().onSlot("C_GetMechanismList", slot, {{"slot", slot}}, [&](CallContext& call) -> CK_RV {
        if (count == nullptr)
            return CKR_ARGUMENTS_BAD;
        call.token();
        *count = 0;
        return CKR_OK;
    });
}

} // namespace qvstandin::entries
