#include "commands/FormatDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CliError.h"
#include "cli/FlagCliOption.h"
#include "cli/TypedCliOption.h"
#include "commands/checkLabelText.h"
#include "commands/logCommandRecord.h"
#include "commands/makeSharedPin.h"
#include "commands/pinRoles.h"
#include "commands/preparePinManagers.h"
#include "logging/addOption.h"
#include "pin/ApplyPinVisitor.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "pin/buildPinManager.h"
#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"
#include "token/BaseStrategy.h"
#include "token/FormatTokenParams.h"
#include "token/Token.h"
#include "token/tokenOperations.h"
#include "token/types/PinChangePolicy.h"
#include "token/types/UserType.h"

namespace format_options {

using namespace pin_options;

const std::string kNewUserPinKey = "new-user-pin";
const std::string kNewSoPinKey = "new-so-pin";

// A new PIN of a format: the token's fixed default unless typed twice or given.
PinParamsDto newFormatPinRole(const std::string& valueKey, PinBelonging belonging, const std::string& defaultPin)
{
    return {
        {valueKey + "-input", std::nullopt},
        &Config::newPinInputMode,
        {belonging, PinRelevance::New},
        {UseDefaultInputModeDto{defaultPin}, ConsoleInputModeDto{true}, OptionsInputModeDto{{valueKey, std::nullopt}}}};
}

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);
const PinParamsDto newUserPinParamsDto = newFormatPinRole(kNewUserPinKey, PinBelonging::User, "40417263");
const PinParamsDto newSoPinParamsDto = newFormatPinRole(kNewSoPinKey, PinBelonging::Admin, "59302814");

const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newUserPinInputOptionAttributes{&newUserPinParamsDto, PinInputMode::Default,
                                                               std::nullopt};
const PinValueOptionAttributes newUserPinValueOptionAttributes{&newUserPinParamsDto, std::nullopt, std::nullopt};
const PinInputOptionAttributes newSoPinInputOptionAttributes{&newSoPinParamsDto, PinInputMode::Default, std::nullopt};
const PinValueOptionAttributes newSoPinValueOptionAttributes{&newSoPinParamsDto, std::nullopt, std::nullopt};

const TypedOptionAttributes<std::string> labelOptionAttributes{
    {"label", 'l'}, {"Set token label.", "Задать метку токена."}, "", "(=<default label>)", false, false, nullptr};
const TypedOptionAttributes<unsigned long> minSoPinAttributes{
    {"min-so-pin", std::nullopt},
    {"Set lower boundary for admin PIN length.", "Задать минимальную длину PIN-кода администратора."},
    6,
    std::nullopt,
    false,
    false,
    &Config::minPinLength};
const TypedOptionAttributes<unsigned long> minUserPinAttributes{
    {"min-user-pin", std::nullopt},
    {"Set lower boundary for user PIN length.", "Задать минимальную длину PIN-кода пользователя."},
    6,
    std::nullopt,
    false,
    false,
    &Config::minPinLength};
const TypedOptionAttributes<unsigned long> maxSoPinRetryCountAttributes{
    {"max-so-pin-retry-count", std::nullopt},
    {"Set admin PIN max retry count.", "Задать максимальное число попыток ввода PIN-кода администратора."},
    10,
    std::nullopt,
    false,
    false,
    &Config::maxPinRetryCount};
const TypedOptionAttributes<unsigned long> maxUserPinRetryCountAttributes{
    {"max-user-pin-retry-count", std::nullopt},
    {"Set user PIN max retry count.", "Задать максимальное число попыток ввода PIN-кода пользователя."},
    10,
    std::nullopt,
    false,
    false,
    &Config::maxPinRetryCount};
const FlagOptionAttributes repairAttributes{
    {"repair", 'r'},
    {"Set repair mode without entering admin PIN.", "Режим восстановления без ввода PIN-кода администратора."}};
const TypedOptionAttributes<PinChangePolicy> pinChangePolicyAttributes{
    {"pin-change-policy", std::nullopt},
    {"Set PIN change policy.\nAllowed values:\n  so - admin is allowed to change user PIN;\n  user - user is allowed "
     "to "
     "change user PIN;\n  both - admin and user are allowed to change user PIN.",
     "Задать политику смены PIN-кода.\nДопустимые значения:\n  so - PIN-код пользователя меняет администратор;\n  "
     "user - PIN-код пользователя меняет пользователь;\n  both - PIN-код пользователя меняют администратор и "
     "пользователь."},
    PinChangePolicy::User,
    std::nullopt,
    false,
    false,
    nullptr};

using AuthPinInputOption = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthPinValueOption = PinValueCliOption<&authPinValueOptionAttributes>;
using NewUserPinInputOption = PinInputModeCliOption<&newUserPinInputOptionAttributes>;
using NewUserPinValueOption = PinValueCliOption<&newUserPinValueOptionAttributes>;
using NewSoPinInputOption = PinInputModeCliOption<&newSoPinInputOptionAttributes>;
using NewSoPinValueOption = PinValueCliOption<&newSoPinValueOptionAttributes>;
using LabelOption = TypedCliOption<&labelOptionAttributes>;
using MinSoPinOption = TypedCliOption<&minSoPinAttributes>;
using MinUserPinOption = TypedCliOption<&minUserPinAttributes>;
using MaxSoPinRetryCountOption = TypedCliOption<&maxSoPinRetryCountAttributes>;
using MaxUserPinRetryCountOption = TypedCliOption<&maxUserPinRetryCountAttributes>;
using RepairOption = FlagCliOption<&repairAttributes>;
using PinChangePolicyOption = TypedCliOption<&pinChangePolicyAttributes>;

const CommandInfo<AuthPinInputOption, AuthPinValueOption, NewUserPinInputOption, NewUserPinValueOption,
                  NewSoPinInputOption, NewSoPinValueOption, LabelOption, MinSoPinOption, MinUserPinOption,
                  MaxSoPinRetryCountOption, MaxUserPinRetryCountOption, RepairOption, PinChangePolicyOption>
    formatCommandInfo("format", CommandCategory::TokenManagement, {"Format token.", "Форматировать токен."});

} // namespace format_options

namespace {
using namespace format_options;

const options::BoostCommandInfoAdapter<AuthPinInputOption, AuthPinValueOption, NewUserPinInputOption,
                                       NewUserPinValueOption, NewSoPinInputOption, NewSoPinValueOption, LabelOption,
                                       MinSoPinOption, MinUserPinOption, MaxSoPinRetryCountOption,
                                       MaxUserPinRetryCountOption, RepairOption, PinChangePolicyOption>
    optionsAdapter(formatCommandInfo);

// A new PIN of one token's format: stored in the token's own parameters, which its format call
// then reads. The lengths are asked of the token only to generate, which format never does.
ApplyPinVisitor newPinVisitor(std::uint64_t serial, const std::string& key, std::function<PinLengths()> lengths,
                              std::string& target, UserType type, std::shared_ptr<logging::BaseLogger> logger)
{
    return ApplyPinVisitor(
        {serial, key, *toString(type), std::move(lengths)},
        [&target, type](const std::string& pin) {
            target = pin;
            return *toString(type);
        },
        std::move(logger));
}

} // namespace

void FormatDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                           std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    const std::string label = optionsAdapter.value<LabelOption>(vm);
    checkLabelText(label, labelOptionAttributes.key.name);
    const bool repair = vm->count(repairAttributes.key.name) != 0;
    // Repair mode formats a token whose admin PIN is unknown: asking for it makes no sense.
    if (repair && buildPinManager(authPinParamsDto).areRelatedOptionsPresent(*vm)) {
        throw OptionCompatibilityError(options::kAuthPinInputKey, repairAttributes.key.name);
    }
    std::vector<const PinParamsDto*> roles{&newSoPinParamsDto, &newUserPinParamsDto};
    if (!repair) {
        roles.insert(roles.begin(), &authPinParamsDto);
    }
    const auto managers = preparePinManagers(*vm, roles);

    FormatTokenParams params;
    params.label = label;
    params.minSoPinLength = optionsAdapter.value<MinSoPinOption>(vm);
    params.minUserPinLength = optionsAdapter.value<MinUserPinOption>(vm);
    params.maxSoRetryCount = optionsAdapter.value<MaxSoPinRetryCountOption>(vm);
    params.maxUserRetryCount = optionsAdapter.value<MaxUserPinRetryCountOption>(vm);
    params.pinChangePolicy = optionsAdapter.value<PinChangePolicyOption>(vm);
    params.repair = repair;

    logging::CommandRecord record{formatCommandInfo.commandName(), {}, {}};
    if (repair) {
        record.flags.push_back(repairAttributes.key.name);
    }
    logging::addOption(record, labelOptionAttributes.key.name, params.label);
    logging::addOption(record, minSoPinAttributes.key.name, params.minSoPinLength);
    logging::addOption(record, minUserPinAttributes.key.name, params.minUserPinLength);
    logging::addOption(record, maxSoPinRetryCountAttributes.key.name, params.maxSoRetryCount);
    logging::addOption(record, maxUserPinRetryCountAttributes.key.name, params.maxUserRetryCount);
    logging::addOption(record, pinChangePolicyAttributes.key.name, params.pinChangePolicy);
    logCommandRecord(*logger, std::move(record), managers);

    const auto authPin = makeSharedPin(repair ? std::string() : managers.front().getPin(0));
    const PinManager& newSoPin = managers[managers.size() - 2];
    const PinManager& newUserPin = managers.back();
    auto operation = [params, authPin, newSoPin, newUserPin](std::shared_ptr<logging::BaseLogger> tokenLogger,
                                                             Token& token) {
        FormatTokenParams tokenParams = params;
        auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&tokenParams] {
            wipeString(tokenParams.authPin);
            wipeString(tokenParams.newSoPin);
            wipeString(tokenParams.newUserPin);
        });
        tokenParams.authPin = *authPin;
        const auto serial = token.getSerialNumber();
        auto userVisitor = newPinVisitor(
            serial, kNewUserPinKey, [&token] { return token.getUserPinLengths(); }, tokenParams.newUserPin,
            UserType::User, tokenLogger);
        auto soVisitor = newPinVisitor(
            serial, kNewSoPinKey, [&token] { return token.getSoPinLengths(); }, tokenParams.newSoPin, UserType::So,
            tokenLogger);
        newUserPin.accept(userVisitor);
        newSoPin.accept(soVisitor);
        token.format(tokenParams);
    };
    strategy->execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}

const BaseCommandInfo& FormatDispatcher::getCommandInfo() const
{
    return formatCommandInfo;
}

boost::program_options::options_description FormatDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
