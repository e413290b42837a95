#pragma once

#include "cli/Config.h"
#include "cli/ConfigHolder.h"

#include <boost/program_options/options_description.hpp>
#include <boost/program_options/variables_map.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Reads the configuration file; a missing file gives empty configurations. The file's
// errors are those of the option library, plus DuplicateGenSettingsError; a path that is not a
// regular file, or whose status cannot be had, is a file that cannot be read.
ConfigHolder readConfig(const std::filesystem::path& path, const std::vector<std::string>& commandNames);

// Every key the file may hold: the general keys, then each command's keys under its name.
boost::program_options::options_description getOptionsDescription(const std::vector<std::string>& commandNames);

// Copies every key present in the map (under the section name, when given) into config.
void applyOptions(Config& config, const boost::program_options::variables_map& variables,
                  const std::optional<std::string>& section);

std::string addPrefix(const std::string& key, const std::string& section);
