#pragma once

#include <string>

struct SetSoPinParams {
    std::string authPin;
    std::string newPin;
};
