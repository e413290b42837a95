#include "pin/PinRelatedTextFactory.h"

#include "cli/internalError.h"
#include "pin/CharsSetNames.h"

#include <boost/format.hpp>

#include <array>
#include <cstddef>
#include <vector>

namespace pin_options {

namespace {

using CharsSet = PinGenSettingsElement::CharsSet;

// Rows are indexed by Language, columns by the key's value.
template <std::size_t N>
using WordTable = std::array<std::array<const char*, N>, 2>;

const WordTable<5> kBelongingWords{{
    {"администратора", "пользователя", "локального пользователя", "владельца тома", "выбранного пользователя"},
    {"admin", "user", "local user", "volume owner", "selected user"},
}};

// Sentence openings of the input-mode and generation-settings texts.
const WordTable<2> kRelevanceCapitalWords{{
    {"Авторизационный", "Новый"},
    {"Authorization", "New"},
}};

// The value text: Russian needs another case here.
const WordTable<2> kRelevanceValueWords{{
    {"авторизационного", "нового"},
    {"Authorization", "New"},
}};

const WordTable<2> kRelevanceLowerWords{{
    {"для авторизации", "новый"},
    {"authorization", "new"},
}};

const WordTable<4> kModeDescriptions{{
    {"сгенерировать случайный PIN-код", "ввод через параметры", "ввод с консоли", "использовать PIN-код по умолчанию"},
    {"generate random PIN", "options input", "console input", "use default PIN"},
}};

const WordTable<4> kCharsSetDescriptions{{
    {"строчные буквы", "заглавные буквы", "цифры", "специальные символы"},
    {"lower case letters", "upper case letters", "digits", "special letters"},
}};

const std::array<const char*, 2> kLengthDescriptions{"длина генерируемого PIN-кода", "generated PIN length"};

// Templates: [language][relevance] where they differ by relevance.
const WordTable<2> kPinNameTemplates{{
    {"PIN-код %2% (%1%)", "PIN-код %2% (%1%)"},
    {"%1% %2% PIN", "%1% %2% PIN"},
}};
const std::array<const char*, 2> kSelectedUserNameTemplates{"PIN-код %2%", "%2% PIN"};

const WordTable<2> kInputModeHeaders{{
    {"%1% PIN-код (%2%): режим ввода.\nВозможные значения:\n", "%1% PIN-код %2%: режим ввода.\nВозможные значения:\n"},
    {"%1% (%2%) PIN input mode.\nPossible values:\n", "%1% %2% PIN input mode.\nPossible values:\n"},
}};

const WordTable<2> kValueTemplates{{
    {"Значение %1% PIN-кода (%2%) для режима ввода \"%3%\".", "Значение %1% PIN-кода %2% для режима ввода \"%3%\"."},
    {"%1% (%2%) PIN for \"%3%\" input mode.", "%1% %2% PIN for \"%3%\" input mode."},
}};

const std::array<const char*, 2> kGenSettingsHeaders{
    "%1% PIN-код %2%: настройки генерации для режима ввода \"%3%\".\nВозможные значения:\n",
    "%1% %2% PIN generation settings for \"%3%\" input mode.\nPossible values:\n",
};

const char* const kItemTemplate = "%1% - %2%";
const char* const kDefaultPinItemTemplate = "%1% (%2%)";
const char* const kGenItemTemplate = "%1% (%2%) - %3%";

std::size_t row(Language language)
{
    const auto index = static_cast<std::size_t>(language);
    if (index >= 2) {
        throw UnknownLanguageError();
    }
    return index;
}

template <typename Key, std::size_t N>
const char* word(const WordTable<N>& table, Language language, Key key)
{
    return table[row(language)].at(static_cast<std::size_t>(key));
}

std::string modeText(PinInputMode mode)
{
    return toString(mode).value_or("");
}

// Two blanks before each item, ";\n" between them, "." at the end.
std::string listItems(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "  " : ";\n  ") + items[i];
    }
    return text + ".";
}

std::string modeItem(Language language, const InputModeDto& dto)
{
    const auto describe = [language](PinInputMode mode) {
        return (boost::format(kItemTemplate) % modeText(mode) % word(kModeDescriptions, language, mode)).str();
    };
    return std::visit(
        [&](const auto& record) {
            using Record = std::decay_t<decltype(record)>;
            if constexpr (std::is_same_v<Record, OptionsInputModeDto>) {
                return describe(PinInputMode::Options);
            } else if constexpr (std::is_same_v<Record, ConsoleInputModeDto>) {
                return describe(PinInputMode::Console);
            } else if constexpr (std::is_same_v<Record, GenerateInputModeDto>) {
                return describe(PinInputMode::Generate);
            } else {
                return (boost::format(kDefaultPinItemTemplate) % describe(PinInputMode::Default) % record.defaultPin)
                    .str();
            }
        },
        dto);
}

} // namespace

std::string PinRelatedTextFactory::buildPinName(Language language, const PinType& pinType) const
{
    const auto belonging = word(kBelongingWords, language, pinType.belonging);
    if (pinType.belonging == PinBelonging::SelectedUser) {
        // Whether it logs in or is set, the name is the same: the template skips %1%.
        return (boost::format(kSelectedUserNameTemplates[row(language)]) % "" % belonging).str();
    }
    return (boost::format(word(kPinNameTemplates, language, pinType.relevance)) %
            word(kRelevanceLowerWords, language, pinType.relevance) % belonging)
        .str();
}

std::string PinRelatedTextFactory::buildInputModeDescription(Language language, const PinParamsDto& params) const
{
    const auto& type = params.pinType;
    std::vector<std::string> items;
    for (const auto& mode : params.modes) {
        items.push_back(modeItem(language, mode));
    }
    return (boost::format(word(kInputModeHeaders, language, type.relevance)) %
            word(kRelevanceCapitalWords, language, type.relevance) % word(kBelongingWords, language, type.belonging))
               .str() +
           listItems(items);
}

std::string PinRelatedTextFactory::buildValueDescription(Language language, const PinParamsDto& params) const
{
    const auto& type = params.pinType;
    return (boost::format(word(kValueTemplates, language, type.relevance)) %
            word(kRelevanceValueWords, language, type.relevance) % word(kBelongingWords, language, type.belonging) %
            modeText(PinInputMode::Options))
        .str();
}

std::string PinRelatedTextFactory::buildGenSettingsDescription(Language language, const PinParamsDto& params) const
{
    const auto& type = params.pinType;
    std::vector<std::string> items;
    for (const auto& [set, longName] : charsSetStrings.left) {
        items.push_back((boost::format(kGenItemTemplate) % longName % charsSetShortStrings.left.at(set) %
                         word(kCharsSetDescriptions, language, set))
                            .str());
    }
    items.push_back((boost::format(kGenItemTemplate) % (pinGenSettingLengthString + ":X") %
                     (pinGenSettingLengthShortString + ":X") % kLengthDescriptions[row(language)])
                        .str());
    return (boost::format(kGenSettingsHeaders[row(language)]) % word(kRelevanceCapitalWords, language, type.relevance) %
            word(kBelongingWords, language, type.belonging) % modeText(PinInputMode::Generate))
               .str() +
           listItems(items);
}

CliElementDescription PinRelatedTextFactory::buildInputModeDescription(const PinParamsDto& params) const
{
    return {buildInputModeDescription(Language::English, params), buildInputModeDescription(Language::Russian, params)};
}

CliElementDescription PinRelatedTextFactory::buildValueDescription(const PinParamsDto& params) const
{
    return {buildValueDescription(Language::English, params), buildValueDescription(Language::Russian, params)};
}

CliElementDescription PinRelatedTextFactory::buildGenSettingDescription(const PinParamsDto& params) const
{
    return {buildGenSettingsDescription(Language::English, params),
            buildGenSettingsDescription(Language::Russian, params)};
}

} // namespace pin_options
