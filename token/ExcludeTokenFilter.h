#pragma once

#include "token/BaseTokenFilter.h"

#include <algorithm>
#include <utility>
#include <vector>

// Every token but the listed ones.
class ExcludeTokenFilter : public BaseTokenFilter {
public:
    explicit ExcludeTokenFilter(std::vector<unsigned long long> serials) : serials_(std::move(serials)) {}

    bool checkSerialNumber(unsigned long long serial) override
    {
        return std::find(serials_.begin(), serials_.end(), serial) == serials_.end();
    }

private:
    std::vector<unsigned long long> serials_;
};
