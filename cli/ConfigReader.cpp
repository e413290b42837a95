#include "cli/ConfigReader.h"

#include "cli/DescriptionLayout.h"
#include "cli/TypedValueSemantic.h"
#include "cli/VectorValueSemantic.h"

#include <boost/program_options/parsers.hpp>
#include <boost/program_options/value_semantic.hpp>

namespace po = boost::program_options;

namespace {
void addKeys(po::options_description& description, std::optional<std::string> const& section)
{
    const auto name = [&section](std::string const& key) { return section ? addPrefix(key, *section) : key; };
    description.add_options()
        (name(authPinInputName).c_str(), po::value<PinInputMode>())
        (name(newPinInputName).c_str(), po::value<PinInputMode>())
        (name(genSettings).c_str(), new VectorValueSemantic<PinGenSettingsElement>())
        (name(logFileName).c_str(), po::value<std::string>())
        (name(minPinLengthName).c_str(), options::value<unsigned long>())
        (name(maxPinRetryCountName).c_str(), options::value<unsigned long>())
        (name(pinFileName).c_str(), po::value<std::string>());
}

template <typename T>
void applyKey(std::optional<T>& member,
              po::variables_map const& variables,
              std::string const& key,
              std::optional<std::string> const& section)
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

std::string addPrefix(std::string const& key, std::string const& section)
{
    return section + "." + key;
}

po::options_description getOptionsDescription(std::vector<std::string> const& commandNames)
{
    po::options_description description(options::kLineLength, options::kMinDescriptionLength);
    addKeys(description, std::nullopt);
    for (auto const& name : commandNames) {
        addKeys(description, name);
    }
    return description;
}

void applyOptions(Config& config, po::variables_map const& variables, std::optional<std::string> const& section)
{
    applyKey(config.authPinInputMode, variables, authPinInputName, section);
    applyKey(config.newPinInputMode, variables, newPinInputName, section);
    applyKey(config.pinGenSettings, variables, genSettings, section);
    applyKey(config.logFile, variables, logFileName, section);
    applyKey(config.minPinLength, variables, minPinLengthName, section);
    applyKey(config.maxPinRetryCount, variables, maxPinRetryCountName, section);
    applyKey(config.pinFile, variables, pinFileName, section);
}

ConfigHolder readConfig(std::filesystem::path const& path, std::vector<std::string> const& commandNames)
{
    ConfigHolder holder;
    const auto type = std::filesystem::status(path).type();
    if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none) {
        return holder;
    }

    po::variables_map variables;
    po::store(po::parse_config_file<char>(path.string().c_str(), getOptionsDescription(commandNames), false),
              variables);
    po::notify(variables);

    Config general;
    applyOptions(general, variables, std::nullopt);
    holder.addConfig(validated(general));

    for (auto const& name : commandNames) {
        Config command = holder.getConfig();
        applyOptions(command, variables, name);
        holder.addConfig(name, validated(command));
    }
    return holder;
}
