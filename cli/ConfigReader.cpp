#include "cli/ConfigReader.h"

#include "cli/DescriptionLayout.h"
#include "cli/TypedValueSemantic.h"
#include "cli/VectorValueSemantic.h"

#include <boost/program_options/errors.hpp>
#include <boost/program_options/parsers.hpp>
#include <boost/program_options/value_semantic.hpp>

namespace po = boost::program_options;

namespace {
void addKeys(po::options_description& description, const std::optional<std::string>& section)
{
    const auto name = [&section](const std::string& key) { return section ? addPrefix(key, *section) : key; };
    // One key a line, as the options library's call chain reads best.
    // clang-format off
    description.add_options()
        (name(config_keys::kAuthPinInput).c_str(), po::value<PinInputMode>())
        (name(config_keys::kNewPinInput).c_str(), po::value<PinInputMode>())
        (name(config_keys::kGenSettings).c_str(), new VectorValueSemantic<PinGenSettingsElement>())
        (name(config_keys::kLogFile).c_str(), po::value<std::string>())
        (name(config_keys::kMinPinLength).c_str(), options::value<unsigned long>())
        (name(config_keys::kMaxPinRetryCount).c_str(), options::value<unsigned long>())
        (name(config_keys::kPinFile).c_str(), po::value<std::string>());
    // clang-format on
}

template <typename T>
void applyKey(std::optional<T>& member, const po::variables_map& variables, const std::string& key,
              const std::optional<std::string>& section)
{
    const auto it = variables.find(section ? addPrefix(key, *section) : key);
    if (it != variables.end()) {
        member = it->second.as<T>();
    }
}

Config validated(Config config)
{
    if (config.pinGenSettings) {
        validate(*config.pinGenSettings);
    }
    return config;
}
} // namespace

std::string addPrefix(const std::string& key, const std::string& section)
{
    return section + "." + key;
}

po::options_description getOptionsDescription(const std::vector<std::string>& commandNames)
{
    po::options_description description(options::kLineLength, options::kMinDescriptionLength);
    addKeys(description, std::nullopt);
    for (const auto& name : commandNames) {
        addKeys(description, name);
    }
    return description;
}

void applyOptions(Config& config, const po::variables_map& variables, const std::optional<std::string>& section)
{
    applyKey(config.authPinInputMode, variables, config_keys::kAuthPinInput, section);
    applyKey(config.newPinInputMode, variables, config_keys::kNewPinInput, section);
    applyKey(config.pinGenSettings, variables, config_keys::kGenSettings, section);
    applyKey(config.logFile, variables, config_keys::kLogFile, section);
    applyKey(config.minPinLength, variables, config_keys::kMinPinLength, section);
    applyKey(config.maxPinRetryCount, variables, config_keys::kMaxPinRetryCount, section);
    applyKey(config.pinFile, variables, config_keys::kPinFile, section);
}

ConfigHolder readConfig(const std::filesystem::path& path, const std::vector<std::string>& commandNames)
{
    ConfigHolder holder;
    // Only a regular file is read: a FIFO would block every run, and a path whose status cannot
    // be had (a loop of links, a folder that cannot be searched) is a file that cannot be read.
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found) {
        return holder;
    }
    if (error || type != std::filesystem::file_type::regular) {
        throw po::reading_file(path.c_str());
    }

    po::variables_map variables;
    po::store(po::parse_config_file<char>(path.string().c_str(), getOptionsDescription(commandNames), false),
              variables);
    po::notify(variables);

    Config general;
    applyOptions(general, variables, std::nullopt);
    holder.addConfig(validated(general));

    for (const auto& name : commandNames) {
        Config command = holder.getConfig();
        applyOptions(command, variables, name);
        holder.addConfig(name, validated(command));
    }
    return holder;
}
