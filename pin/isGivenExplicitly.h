#pragma once

#include <boost/program_options/variables_map.hpp>

#include <string>

// Whether the option was given on the command line: present and not taken from a default
// (the option's own or the configuration file's).
bool isGivenExplicitly(const boost::program_options::variables_map& variables, const std::string& key);
