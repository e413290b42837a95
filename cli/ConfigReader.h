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
// errors are those of the option library, plus DuplicateGenSettingsError.
ConfigHolder readConfig(std::filesystem::path const& path, std::vector<std::string> const& commandNames);

// Every key the file may hold: the general keys, then each command's keys under its name.
boost::program_options::options_description getOptionsDescription(std::vector<std::string> const& commandNames);

// Copies every key present in the map (under the section name, when given) into config.
void applyOptions(Config& config,
                  boost::program_options::variables_map const& variables,
                  std::optional<std::string> const& section);

std::string addPrefix(std::string const& key, std::string const& section);
