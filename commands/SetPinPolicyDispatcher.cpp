#include "commands/SetPinPolicyDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/TypedCliOption.h"
#include "commands/ByteCount.h"
#include "commands/pinRoles.h"
#include "commands/runAuthPinCommand.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "token/Token.h"
#include "token/types/PinPolicy.h"

namespace set_pin_policy_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};

// The eight settings every run must give.
template <typename T>
TypedOptionAttributes<T> required(const std::string& key, const CliElementDescription& description)
{
    return {{key, std::nullopt}, description, std::nullopt, std::nullopt, true, false, nullptr};
}

const auto minLengthOptionAttributes =
    required<ByteCount>("min-length", {"Min PIN length.", "Минимальная длина PIN-кода."});
const auto historyDepthOptionAttributes =
    required<ByteCount>("history-depth", {"PIN history depth.", "Глубина истории PIN-кодов."});
const auto allowDefaultOptionAttributes =
    required<bool>("allow-default", {"Allow default PIN usage.", "Разрешить PIN-код по умолчанию."});
const auto digitRequiredOptionAttributes =
    required<bool>("digit-required", {"Require PIN to contain digit.", "Требовать цифру в PIN-коде."});
const auto uppercaseRequiredOptionAttributes = required<bool>(
    "uppercase-required", {"Require PIN to contain uppercase letter.", "Требовать заглавную букву в PIN-коде."});
const auto lowercaseRequiredOptionAttributes = required<bool>(
    "lowercase-required", {"Require PIN to contain lowercase letter.", "Требовать строчную букву в PIN-коде."});
const auto specCharRequiredOptionAttributes = required<bool>(
    "spec-char-required", {"Require PIN to contain special character.", "Требовать специальный символ в PIN-коде."});
const auto diffCharsRequiredOptionAttributes = required<bool>(
    "diff-chars-required", {"Require different PIN characters.", "Требовать разные символы в PIN-коде."});
const TypedOptionAttributes<bool> allowChangePolicyOptionAttributes{
    {"allow-change-policy", std::nullopt},
    {"Allow admin to change PIN policy.", "Разрешить администратору менять политику PIN-кодов."},
    true,
    std::nullopt,
    false,
    false,
    nullptr};
const TypedOptionAttributes<bool> removeOnFormatOptionAttributes{
    {"remove-on-format", std::nullopt},
    {"Remove PIN policy after format.", "Удалять политику PIN-кодов при форматировании."},
    true,
    std::nullopt,
    false,
    false,
    nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using MinLengthOption = TypedCliOption<&minLengthOptionAttributes>;
using HistoryDepthOption = TypedCliOption<&historyDepthOptionAttributes>;
using AllowDefaultOption = TypedCliOption<&allowDefaultOptionAttributes>;
using DigitRequiredOption = TypedCliOption<&digitRequiredOptionAttributes>;
using UppercaseRequiredOption = TypedCliOption<&uppercaseRequiredOptionAttributes>;
using LowercaseRequiredOption = TypedCliOption<&lowercaseRequiredOptionAttributes>;
using SpecCharRequiredOption = TypedCliOption<&specCharRequiredOptionAttributes>;
using DiffCharsRequiredOption = TypedCliOption<&diffCharsRequiredOptionAttributes>;
using AllowChangePolicyOption = TypedCliOption<&allowChangePolicyOptionAttributes>;
using RemoveOnFormatOption = TypedCliOption<&removeOnFormatOptionAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, MinLengthOption, HistoryDepthOption, AllowDefaultOption,
                  DigitRequiredOption, UppercaseRequiredOption, LowercaseRequiredOption, SpecCharRequiredOption,
                  DiffCharsRequiredOption, AllowChangePolicyOption, RemoveOnFormatOption>
    setPinPolicyCommandInfo("set-pin-policy", CommandCategory::TokenManagement,
                            {"Set PIN policy.", "Установить политику PIN-кодов."});

} // namespace set_pin_policy_options

namespace {
using namespace set_pin_policy_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, MinLengthOption, HistoryDepthOption,
                                       AllowDefaultOption, DigitRequiredOption, UppercaseRequiredOption,
                                       LowercaseRequiredOption, SpecCharRequiredOption, DiffCharsRequiredOption,
                                       AllowChangePolicyOption, RemoveOnFormatOption>
    optionsAdapter(setPinPolicyCommandInfo);

template <typename Option>
auto recordOption(boost::program_options::variables_map* vm, logging::CommandRecord& record)
{
    const auto value = optionsAdapter.value<Option>(vm);
    logging::addOption(record, Option().key().name, value);
    return value;
}
} // namespace

void SetPinPolicyDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                                 std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    // The record lists the settings in this order, which is not the help's.
    logging::CommandRecord record{setPinPolicyCommandInfo.commandName(), {}, {}};
    const auto minLength = recordOption<MinLengthOption>(vm, record);
    const auto historyDepth = recordOption<HistoryDepthOption>(vm, record);
    PinPolicy policy;
    policy.defaultPinAllowed = recordOption<AllowDefaultOption>(vm, record);
    policy.digitRequired = recordOption<DigitRequiredOption>(vm, record);
    policy.uppercaseRequired = recordOption<UppercaseRequiredOption>(vm, record);
    policy.lowercaseRequired = recordOption<LowercaseRequiredOption>(vm, record);
    policy.diffCharsRequired = recordOption<DiffCharsRequiredOption>(vm, record);
    policy.specCharRequired = recordOption<SpecCharRequiredOption>(vm, record);
    policy.allowChanging = recordOption<AllowChangePolicyOption>(vm, record);
    policy.removeOnFormat = recordOption<RemoveOnFormatOption>(vm, record);
    policy.minLength = minLength.value;
    policy.historyDepth = historyDepth.value;
    runAuthPinCommand(
        *vm, std::move(record), authPinParamsDto,
        [policy](Token& token, const std::string& soPin) { token.setUserPinPolicy(soPin, policy); }, *strategy,
        std::move(logger), tokenManager);
}

const BaseCommandInfo& SetPinPolicyDispatcher::getCommandInfo() const
{
    return setPinPolicyCommandInfo;
}

boost::program_options::options_description SetPinPolicyDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
