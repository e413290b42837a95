#pragma once

// Chooses the tokens a command works on by their serial numbers.
class BaseTokenFilter {
public:
    virtual ~BaseTokenFilter() = default;
    virtual bool checkSerialNumber(unsigned long long serial) = 0;
};
