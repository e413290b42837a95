#pragma once

// Two PIN roles as a command declares them, over the real option classes: an admin PIN to
// log in with (console, options) and a new user PIN (console with confirmation, options,
// generate); the "probe-default" command's new PIN has a default PIN instead.

#include "cli/BoostCommandInfoAdapter.h"
#include "cli/CommandInfo.h"
#include "pin/PinGenSettingsCliOption.h"
#include "pin/PinInputModeCliOption.h"
#include "pin/PinValueCliOption.h"

namespace probe_options {

using namespace pin_options;
using CharsSet = PinGenSettingsElement::CharsSet;

// Each record is built inside a function: GCC 12 at -O3 warns of an uninitialised option key
// when such a record is aggregate-initialised at namespace scope.
inline const PinParamsDto authPinParamsDto = [] {
    return PinParamsDto{{"auth-pin-input", 'P'},
                        &Config::authPinInputMode,
                        {PinBelonging::Admin, PinRelevance::Authorization},
                        {ConsoleInputModeDto{false}, OptionsInputModeDto{{"auth-pin", 'p'}}}};
}();
inline const PinParamsDto newPinParamsDto = [] {
    return PinParamsDto{{"new-pin-input", 'N'},
                        &Config::newPinInputMode,
                        {PinBelonging::User, PinRelevance::New},
                        {ConsoleInputModeDto{true}, OptionsInputModeDto{{"new-pin", 'n'}},
                         GenerateInputModeDto{{"gen-settings", 'g'}}}};
}();
inline const PinParamsDto defaultPinParamsDto = [] {
    return PinParamsDto{{"new-pin-input", 'N'},
                        &Config::newPinInputMode,
                        {PinBelonging::User, PinRelevance::New},
                        {OptionsInputModeDto{{"new-user-pin", std::nullopt}}, UseDefaultInputModeDto{"40417263"}}};
}();

inline const PinInputOptionAttributes authPinInputOptionAttributes{&authPinParamsDto, PinInputMode::Options,
                                                                   std::nullopt};
inline const PinValueOptionAttributes authPinValueOptionAttributes{&authPinParamsDto, std::nullopt, std::nullopt};
inline const PinInputOptionAttributes newPinInputOptionAttributes{&newPinParamsDto, PinInputMode::Options,
                                                                  std::nullopt};
inline const PinValueOptionAttributes newPinValueOptionAttributes{&newPinParamsDto, std::nullopt, std::nullopt};
inline const PinGenSettingsOptionAttributes newPinGenSettingsOptionAttributes{
    &newPinParamsDto,
    std::vector<PinGenSettingsElement>{CharsSet::Digits, CharsSet::LowerLetters, CharsSet::UpperLetters,
                                       CharsSet::SpecChars},
    std::nullopt};
inline const PinInputOptionAttributes defaultPinInputOptionAttributes{&defaultPinParamsDto, PinInputMode::Default,
                                                                      std::nullopt};
inline const PinValueOptionAttributes defaultPinValueOptionAttributes{&defaultPinParamsDto, std::nullopt, std::nullopt};

using AuthInput = PinInputModeCliOption<&authPinInputOptionAttributes>;
using AuthValue = PinValueCliOption<&authPinValueOptionAttributes>;
using NewInput = PinInputModeCliOption<&newPinInputOptionAttributes>;
using NewValue = PinValueCliOption<&newPinValueOptionAttributes>;
using NewGenSettings = PinGenSettingsCliOption<&newPinGenSettingsOptionAttributes>;
using DefaultInput = PinInputModeCliOption<&defaultPinInputOptionAttributes>;
using DefaultValue = PinValueCliOption<&defaultPinValueOptionAttributes>;

inline const CommandInfo<AuthInput, AuthValue, NewInput, NewValue, NewGenSettings>
    probeCommandInfo("probe", CommandCategory::PinManagement, {"Probe.", "Проба."});
inline const options::BoostCommandInfoAdapter<AuthInput, AuthValue, NewInput, NewValue, NewGenSettings>
    probeAdapter(probeCommandInfo);

inline const CommandInfo<AuthInput, AuthValue, DefaultInput, DefaultValue>
    probeDefaultCommandInfo("probe-default", CommandCategory::PinManagement, {"Probe.", "Проба."});
inline const options::BoostCommandInfoAdapter<AuthInput, AuthValue, DefaultInput, DefaultValue>
    probeDefaultAdapter(probeDefaultCommandInfo);

} // namespace probe_options
