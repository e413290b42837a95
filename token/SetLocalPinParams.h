#pragma once

#include <string>

// A local PIN's new value, authorised by the user PIN (creation) or by the local PIN's current
// value (change).
struct SetLocalPinParams {
    std::string authPin;
    std::string newPin;
};
