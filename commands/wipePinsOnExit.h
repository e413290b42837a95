#pragma once

#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"

// A guard that wipes a PIN-setting record's two PIN copies (authorisation and new) when the
// scope ends, however it ends.
template <typename PinParams>
auto wipePinsOnExit(PinParams& params)
{
    return vt::scopeGuard(vt::ScopeExit{}, [&params] {
        wipeString(params.authPin);
        wipeString(params.newPin);
    });
}
