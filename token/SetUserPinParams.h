#pragma once

#include "token/types/UserType.h"

#include <string>

// A new user PIN, set by the user itself or by the admin.
struct SetUserPinParams {
    UserType authAs = UserType::User;
    std::string authPin;
    std::string newPin;
};
