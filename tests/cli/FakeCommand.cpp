#include "FakeCommand.h"

#include "cli/ParseUtils.h"

namespace {
const TypedOptionAttributes<std::string> labelAttributes{
    {"label", 'l'}, {"Label.", "Метка."}, std::nullopt, std::nullopt, true, false, nullptr};
const TypedOptionAttributes<std::string> logAttributes{
    {"log", std::nullopt}, {"Log.", "Лог."}, std::nullopt, std::nullopt, false, false, &Config::logFile};
const TypedOptionAttributes<unsigned long long> serialAttributes{
    {"serial", 's'}, {"Serial.", "Номер."}, std::nullopt, std::nullopt, false, false, nullptr};

using Label = TypedCliOption<&labelAttributes>;
using Log = TypedCliOption<&logAttributes>;
using Serial = TypedCliOption<&serialAttributes>;

const CommandInfo<Label, Log, Serial> fakeInfo("fake", CommandCategory::TokenManagement, {"Fake.", "Фейк."});
const options::BoostCommandInfoAdapter<Label, Log, Serial> fakeAdapter(fakeInfo);
} // namespace

FakeCommand::FakeCommand(const std::string& name, CommandCategory category, const std::string& description)
    : info(name, category, {description, ""})
{
}

boost::program_options::options_description FakeCommand::getOptionsDescription() const
{
    auto description = fakeAdapter.getOptionsDescription(config);
    description.add(parse_utils::getHelpOptions(config));
    return description;
}
