#pragma once

#include "cli/BaseCommandInfo.h"
#include "cli/OptionsHolder.h"

// A command's name, help category, description and ordered option classes.
template <typename... Opts>
class CommandInfo : public BaseCommandInfo {
public:
    CommandInfo(const std::string& name, CommandCategory category, const CliElementDescription& description)
        : name(name), category(category), description(description)
    {
    }

    const std::string& commandName() const override { return name; }

    CommandCategory commandCategory() const override { return category; }

    const CliElementDescription& commandDescription() const override { return description; }

    std::vector<const BaseCliOption*> options() const override
    {
        return {static_cast<const BaseCliOption*>(&holder.template get<Opts>())...};
    }

    const OptionsHolder<Opts...>& optionsHolder() const { return holder; }

private:
    std::string name;
    CommandCategory category;
    CliElementDescription description;
    OptionsHolder<Opts...> holder;
};
