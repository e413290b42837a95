#pragma once

#include "cli/BaseCommandInfo.h"
#include "cli/OptionsHolder.h"

// A command's name, help category, description and ordered option classes.
template <typename... Opts>
class CommandInfo : public BaseCommandInfo {
public:
    CommandInfo(std::string const& name, CommandCategory category, CliElementDescription const& description)
        : name(name)
        , category(category)
        , description(description)
    {
    }

    std::string const& commandName() const override
    {
        return name;
    }

    CommandCategory commandCategory() const override
    {
        return category;
    }

    CliElementDescription const& commandDescription() const override
    {
        return description;
    }

    std::vector<BaseCliOption const*> options() const override
    {
        return {static_cast<BaseCliOption const*>(&holder.template get<Opts>())...};
    }

    OptionsHolder<Opts...> const& optionsHolder() const
    {
        return holder;
    }

private:
    std::string name;
    CommandCategory category;
    CliElementDescription description;
    OptionsHolder<Opts...> holder;
};
