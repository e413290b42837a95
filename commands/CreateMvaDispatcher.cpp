#include "commands/CreateMvaDispatcher.h"

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CliError.h"
#include "cli/TypedCliOption.h"
#include "commands/ByteCount.h"
#include "commands/makeSharedPin.h"
#include "commands/pinRoles.h"
#include "logging/MvaIdRecord.h"
#include "logging/addOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"
#include "pin/buildPinManager.h"
#include "pin/isGivenExplicitly.h"
#include "token/BaseStrategy.h"
#include "token/CreateMvaParams.h"
#include "token/Token.h"
#include "token/tokenOperations.h"

namespace create_mva_options {

using namespace pin_options;

const PinParamsDto authPinParamsDto = pin_roles::authPinRole(PinBelonging::Admin);

const PinInputOptionAttributes authSoPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options, std::nullopt};
const PinValueOptionAttributes authSoPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
// The token keeps each limit in one byte: a larger number is refused by the parser rather than
// reaching the token as its low eight bits.
const TypedOptionAttributes<ByteCount> maxRecordsCountOptionAttributes{
    {"max-records-count", std::nullopt},
    {"Max number of records - [1;254].", "Максимальное число записей - [1;254]."},
    ByteCount{10},
    std::nullopt,
    false,
    false,
    nullptr};
const TypedOptionAttributes<ByteCount> maxRecordSizeOptionAttributes{
    {"max-record-size", std::nullopt},
    {"Max record size (in bytes) - [1;249].", "Максимальный размер записи (в байтах) - [1;249]."},
    ByteCount{249},
    std::nullopt,
    false,
    false,
    nullptr};
const TypedOptionAttributes<ByteCount> authAttemptsOptionAttributes{
    {"auth-attempts", std::nullopt},
    {"Auth attempts limit - [1;10].", "Предельное число попыток аутентификации - [1;10]."},
    ByteCount{10},
    std::nullopt,
    false,
    false,
    nullptr};

using AuthSoPinInputOption = PinInputModeCliOption<&authSoPinInputOptionAttributes>;
using AuthSoPinValueOption = PinValueCliOption<&authSoPinValueOptionAttributes>;
using MaxRecordsCountOption = TypedCliOption<&maxRecordsCountOptionAttributes>;
using MaxRecordSizeOption = TypedCliOption<&maxRecordSizeOptionAttributes>;
using AuthAttemptsOption = TypedCliOption<&authAttemptsOptionAttributes>;

const CommandInfo<AuthSoPinInputOption, AuthSoPinValueOption, MaxRecordsCountOption, MaxRecordSizeOption,
                  AuthAttemptsOption>
    createMvaCommandInfo("create-mva", CommandCategory::MvaManagement, {"Create MVA.", "Создать MVA."});

} // namespace create_mva_options

namespace {
using namespace create_mva_options;

const options::BoostCommandInfoAdapter<AuthSoPinInputOption, AuthSoPinValueOption, MaxRecordsCountOption,
                                       MaxRecordSizeOption, AuthAttemptsOption>
    optionsAdapter(createMvaCommandInfo);

// The record count and the record size size the object together: one alone is a mistake.
void checkCompleteness(const boost::program_options::variables_map& vm)
{
    const auto& count = maxRecordsCountOptionAttributes.key.name;
    const auto& size = maxRecordSizeOptionAttributes.key.name;
    const bool countGiven = isGivenExplicitly(vm, count);
    if (countGiven != isGivenExplicitly(vm, size)) {
        throw countGiven ? CreateMvaCompletenessError(count, size) : CreateMvaCompletenessError(size, count);
    }
}

} // namespace

// No option check: the admin PIN is never generated, and a PIN file named anyway stays unused.
void CreateMvaDispatcher::run(boost::program_options::variables_map* vm, std::shared_ptr<BaseStrategy> strategy,
                              std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager)
{
    auto manager = buildPinManager(authPinParamsDto);
    manager.prepare(*vm);
    checkCompleteness(*vm);
    const CreateMvaParams params{optionsAdapter.value<MaxRecordsCountOption>(vm).value,
                                 optionsAdapter.value<MaxRecordSizeOption>(vm).value,
                                 optionsAdapter.value<AuthAttemptsOption>(vm).value};

    logging::CommandRecord record{createMvaCommandInfo.commandName(), {}, {}};
    logging::addOption(record, maxRecordsCountOptionAttributes.key.name, params.maxRecordCount);
    logging::addOption(record, maxRecordSizeOptionAttributes.key.name, params.maxRecordSize);
    logging::addOption(record, authAttemptsOptionAttributes.key.name, params.attempts);
    logger->add(record);

    const auto authPin = makeSharedPin(manager.getPin(0));
    auto operation = [authPin, params](std::shared_ptr<logging::BaseLogger> tokenLogger, Token& token) {
        const auto id = token.createMva(*authPin, params);
        tokenLogger->add(token.getSerialNumber(), logging::MvaIdRecord{id.get()});
    };
    strategy->execute(token_operations::createLoggingApplier(operation, logger), tokenManager, true);
}

const BaseCommandInfo& CreateMvaDispatcher::getCommandInfo() const
{
    return createMvaCommandInfo;
}

boost::program_options::options_description CreateMvaDispatcher::getOptionsDescription(const Config& config) const
{
    return optionsAdapter.getOptionsDescription(config);
}
