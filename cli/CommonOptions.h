#pragma once

#include "cli/FlagCliOption.h"
#include "cli/GeneralOptionsInfo.h"
#include "cli/TypedCliOption.h"

#include <string>
#include <vector>

// The options that commands share. Each source file that includes this header holds
// its own copy of the records, complete before any other static object of that file.
namespace common_options {

static const TypedOptionAttributes<unsigned long long> serialFilterOptionAttributes{
    {"serial", 's'}, {"Choose token by decimal serial number.", "Выбор токена для настройки по его серийному номеру."},
    std::nullopt,    std::string("arg (SN)"),
    false,           false,
    nullptr};

static const TypedOptionAttributes<std::vector<unsigned long long>> excludeFilterOptionAttributes{
    {"exclude", 'e'},
    {"Exclude tokens by decimal serial number.", "Исключить из настройки токены с указанными серийными номерами."},
    std::nullopt,
    std::string("arg (SN1 SN2...)"),
    false,
    true,
    nullptr};

static const TypedOptionAttributes<std::string> logFileOptionAttributes{
    {"log-file", std::nullopt},
    {"Write log in certain file.", "Записать лог в конкретный файл."},
    std::nullopt,
    std::nullopt,
    false,
    false,
    &Config::logFile};

static const TypedOptionAttributes<std::string> pinFileOptionAttributes{
    {"pin-file", std::nullopt},
    {"Path to file where generated PINs will be stored.",
     "Путь к файлу, в котором будут храниться сгенерированные PIN-коды."},
    std::nullopt,
    std::nullopt,
    false,
    false,
    &Config::pinFile};

static const FlagOptionAttributes parallelStrategyOptionAttributes{
    {"parallel", std::nullopt},
    {"Invoke command in parallel on all tokens.", "Вызвать команду параллельно на всех токенах."}};

static const FlagOptionAttributes helpOptionAttributes{
    {"help", 'h'},
    {"Show help. If used without command, show commands list.",
     "Получить описание и параметры команды. Если используется без команды, получить перечень команд и опций для "
     "настройки токена."}};

static const FlagOptionAttributes noLogOptionAttributes{{"no-log", std::nullopt},
                                                        {"No logging.", "Отключить логирование."}};

static const FlagOptionAttributes noPinFileOptionAttributes{
    {"no-pin-file", std::nullopt},
    {"Do not write generated PINs to a file.", "Не записывать сгенерированные PIN-коды в файл."}};

using SerialFilterOption = TypedCliOption<&serialFilterOptionAttributes>;
using ExcludeFilterOption = TypedCliOption<&excludeFilterOptionAttributes>;
using LogFileOption = TypedCliOption<&logFileOptionAttributes>;
using PinFileOption = TypedCliOption<&pinFileOptionAttributes>;
using ParallelStrategyOption = FlagCliOption<&parallelStrategyOptionAttributes>;
using HelpOption = FlagCliOption<&helpOptionAttributes>;
using NoLogOption = FlagCliOption<&noLogOptionAttributes>;
using NoPinFileOption = FlagCliOption<&noPinFileOptionAttributes>;

static const GeneralOptionsInfo<SerialFilterOption, ExcludeFilterOption> filterOptionsInfo("Filter options");
static const GeneralOptionsInfo<ParallelStrategyOption> strategyOptionsInfo("Strategy options");
static const GeneralOptionsInfo<HelpOption> helpOptionsInfo("General options");
static const GeneralOptionsInfo<LogFileOption, NoLogOption> logOptionsInfo("Logger options");
static const GeneralOptionsInfo<PinFileOption, NoPinFileOption> pinOptionsInfo("PIN options");

} // namespace common_options
