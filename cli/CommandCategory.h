#pragma once

#include <map>
#include <string>

enum class CommandCategory : int {
    Info = 0,
    PinManagement = 1,
    MvaManagement = 2,
    TokenManagement = 3,
};

// Titles of the command groups in the help listing.
static const std::map<CommandCategory, std::string> CommandCategoryTitles{
    {CommandCategory::Info, "Info commands"},
    {CommandCategory::PinManagement, "PIN management commands"},
    {CommandCategory::MvaManagement, "MVA management commands"},
    {CommandCategory::TokenManagement, "Token management commands"},
};
