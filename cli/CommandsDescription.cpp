#include "cli/CommandsDescription.h"

#include "cli/DescriptionLayout.h"

#include <algorithm>
#include <sstream>

namespace {
void writeDescription(std::ostringstream& out, std::string text, std::size_t firstIndent, std::size_t width)
{
    const auto room =
        static_cast<std::size_t>(std::max(0L, static_cast<long>(options::kLineLength) - static_cast<long>(width)));
    std::size_t indent = firstIndent;
    while (!text.empty()) {
        std::size_t pieceLength = text.size();
        if (text.size() >= room) {
            const std::size_t start = std::min(room, text.size() - 1);
            const auto blank = text.rfind(' ', start);
            pieceLength = blank != std::string::npos ? blank + 1 : std::min(room + 1, text.size());
        }
        out << std::string(indent, ' ') << text.substr(0, pieceLength) << '\n';
        text.erase(0, pieceLength);
        indent = width;
    }
}
} // namespace

void CommandsDescription::addCommand(std::shared_ptr<BaseCliCommand> command)
{
    const auto& info = command->getCommandInfo();
    const std::string& name = info.commandName();
    commandsByName[name] = command;

    auto& list = commandsByCategory[info.commandCategory()];
    const auto position =
        std::upper_bound(list.begin(), list.end(), name, [](const std::string& key, const auto& entry) {
            return key < entry->getCommandInfo().commandName();
        });
    list.insert(position, std::move(command));
}

std::shared_ptr<BaseCliCommand> CommandsDescription::getCommand(const std::string& name) const
{
    const auto it = commandsByName.find(name);
    return it == commandsByName.end() ? nullptr : it->second;
}

std::vector<std::string> CommandsDescription::getCommandNames() const
{
    std::vector<std::string> names;
    names.reserve(commandsByName.size());
    for (const auto& entry : commandsByName) {
        names.push_back(entry.first);
    }
    return names;
}

std::string CommandsDescription::serialize(unsigned long width) const
{
    std::ostringstream out;
    for (const auto& [category, commands] : commandsByCategory) {
        out << CommandCategoryTitles.at(category) << ":\n";
        for (const auto& command : commands) {
            const auto& info = command->getCommandInfo();
            const std::string& name = info.commandName();
            out << "  " << name;
            auto indent = static_cast<int>(width) - 2 - static_cast<int>(name.size());
            if (indent < 1) {
                out << '\n';
                indent = static_cast<int>(width);
            }
            writeDescription(out, info.commandDescription().english, static_cast<std::size_t>(indent), width);
        }
        out << '\n';
    }
    return out.str();
}
