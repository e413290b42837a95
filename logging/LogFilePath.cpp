#include "logging/LogFilePath.h"

#include "cli/CliError.h"

#include <boost/dll/runtime_symbol_info.hpp>

#include <filesystem>

namespace logging {

void prepareFilePath(const std::string& path)
{
    const std::filesystem::path file(path);
    if (file.filename().empty())
        throw NoFileNameError();
    const auto folder = file.parent_path();
    if (!folder.empty())
        std::filesystem::create_directory(folder);
}

std::string programDirectory()
{
    return boost::dll::program_location().parent_path().string();
}

} // namespace logging
