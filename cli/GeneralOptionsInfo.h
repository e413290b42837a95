#pragma once

#include "cli/BaseGeneralOptionsInfo.h"
#include "cli/OptionsHolder.h"

template <typename... Opts>
class GeneralOptionsInfo : public BaseGeneralOptionsInfo {
public:
    explicit GeneralOptionsInfo(const std::string& title) : title(title) {}

    const std::string& categoryName() const override { return title; }

    std::vector<const BaseCliOption*> options() const override
    {
        return {static_cast<const BaseCliOption*>(&OptionsHolder<Opts...>().template get<Opts>())...};
    }

private:
    std::string title;
};
