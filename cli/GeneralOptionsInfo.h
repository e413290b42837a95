#pragma once

#include "cli/BaseGeneralOptionsInfo.h"
#include "cli/OptionsHolder.h"

template <typename... Opts>
class GeneralOptionsInfo : public BaseGeneralOptionsInfo {
public:
    explicit GeneralOptionsInfo(std::string const& title)
        : title(title)
    {
    }

    std::string const& categoryName() const override
    {
        return title;
    }

    std::vector<BaseCliOption const*> options() const override
    {
        return {static_cast<BaseCliOption const*>(&OptionsHolder<Opts...>().template get<Opts>())...};
    }

private:
    std::string title;
};
