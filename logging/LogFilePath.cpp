#include "logging/LogFilePath.h"

#include "cli/CliError.h"

#include <boost/dll/runtime_symbol_info.hpp>

#include <filesystem>

namespace logging {

void checkFileName(const std::string& path)
{
    if (std::filesystem::path(path).filename().empty())
        throw NoFileNameError();
}

std::filesystem::path folderOf(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string programDirectory()
{
    return boost::dll::program_location().parent_path().string();
}

} // namespace logging
