#pragma once

#include "token/BaseTokenFilter.h"

class SingleTokenFilter : public BaseTokenFilter {
public:
    explicit SingleTokenFilter(unsigned long long serial) : serial_(serial) {}

    bool checkSerialNumber(unsigned long long serial) override { return serial == serial_; }

private:
    unsigned long long serial_;
};
