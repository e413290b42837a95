#define BOOST_DLL_USE_STD_FS

#include "cli/ParamParser.h"

#include "cli/BoostOptionsAdapter.h"
#include "cli/CliError.h"
#include "cli/ConfigReader.h"
#include "cli/HelpCommand.h"
#include "cli/ParseUtils.h"
#include "cli/TypedCliOption.h"

#include <boost/dll/runtime_symbol_info.hpp>
#include <boost/program_options/parsers.hpp>
#include <boost/program_options/positional_options.hpp>

#include <string>
#include <vector>

namespace po = boost::program_options;

namespace {

const std::string kConfigFileName = "qvadmin_conf.ini";

// Boost's Unix style without allow_guessing: abbreviated long names are refused.
constexpr auto kStyle = static_cast<po::command_line_style::style_t>(503);

const TypedOptionAttributes<std::string> commandOptionAttributes{{"command", std::nullopt},
                                                                 {"Execute command", "Выполнить команду."},
                                                                 std::nullopt,
                                                                 std::nullopt,
                                                                 false,
                                                                 false,
                                                                 nullptr};

using CommandOption = TypedCliOption<&commandOptionAttributes>;

const OptionsHolder<CommandOption> commandOptionHolder;
const options::BoostOptionsAdapter<CommandOption>
    commandOptionAdapter(commandOptionHolder, options::BoostOptionsAdapter<CommandOption>::defaultFormatter);

po::variables_map parseOptions(po::command_line_parser& parser, bool strict)
{
    const po::parsed_options parsed = parser.run();
    po::variables_map map;
    po::store(parsed, map);
    if (strict) {
        const auto unrecognized = po::collect_unrecognized(parsed.options, po::include_positional);
        if (!unrecognized.empty()) {
            throw OptionRecognitionError(unrecognized.front());
        }
    }
    return map;
}

} // namespace

void ParamParser::registerCommand(std::shared_ptr<BaseCliCommand> command)
{
    commands.addCommand(std::move(command));
}

std::shared_ptr<BaseCommand> ParamParser::parse(int argc, char** argv)
{
    // A faulty configuration file stops every run, before any argument is looked at.
    const auto configPath = boost::dll::program_location().parent_path() / kConfigFileName;
    const ConfigHolder configs = readConfig(configPath, commands.getCommandNames());

    if (argc > 1) {
        po::options_description commandDescription(options::kLineLength, options::kMinDescriptionLength);
        commandOptionAdapter.addOptionsDescription(Config{}, commandDescription);
        po::positional_options_description positional;
        positional.add(commandOptionAttributes.key.name.c_str(), 1);

        // Only the first argument can name the command.
        po::command_line_parser firstParser(2, argv);
        firstParser.options(commandDescription).positional(positional).style(kStyle).allow_unregistered();
        po::variables_map first = parseOptions(firstParser, false);
        po::notify(first);

        if (first.count(commandOptionAttributes.key.name) != 0) {
            const auto name = first[commandOptionAttributes.key.name].as<std::string>();
            const auto command = commands.getCommand(name);
            if (!command) {
                throw CommandRecognitionError(name);
            }
            command->setConfig(configs.getConfig(name));

            const po::options_description description = command->getOptionsDescription();
            po::command_line_parser restParser(std::vector<std::string>(argv + 2, argv + argc));
            restParser.options(description).style(kStyle);
            variables = parseOptions(restParser, true);
            // Help is printed even when required options are missing.
            if (!parse_utils::parseHelpOption(&variables)) {
                po::notify(variables);
            }
            command->setVarMap(&variables);
            return command;
        }
    }

    const Config& general = configs.getConfig();
    const po::options_description helpDescription = parse_utils::getHelpOptions(general);
    po::command_line_parser helpParser(argc, argv);
    helpParser.options(helpDescription).style(kStyle);
    po::variables_map helpVariables = parseOptions(helpParser, true);
    po::notify(helpVariables);

    auto help = std::make_shared<HelpCommand>(commands);
    help->setConfig(general);
    return help;
}
