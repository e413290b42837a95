#pragma once

#include "cli/BaseCliCommand.h"
#include "cli/CommandCategory.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The registered commands, by name and by help category.
class CommandsDescription {
public:
    // A later command of an existing name replaces it in the lookup by name.
    void addCommand(std::shared_ptr<BaseCliCommand> command);

    // Empty for a name that is not registered.
    std::shared_ptr<BaseCliCommand> getCommand(const std::string& name) const;
    std::vector<std::string> getCommandNames() const;

    // The command catalogue, descriptions starting at the given column.
    std::string serialize(unsigned long width) const;

private:
    std::map<std::string, std::shared_ptr<BaseCliCommand>> commandsByName;
    std::map<CommandCategory, std::vector<std::shared_ptr<BaseCliCommand>>> commandsByCategory;
};
