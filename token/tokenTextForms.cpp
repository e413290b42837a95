#include "token/tokenTextForms.h"

#include "cli/controlCharacters.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <string>

namespace {

// The longest label, "Admin's PIN retry count (left/all)", fills it.
constexpr int kLabelWidth = 34;

std::ostream& label(std::ostream& out, const char* text)
{
    return out << std::left << std::setw(kLabelWidth) << text << " : ";
}

long kilobytes(std::uint64_t bytes)
{
    return std::lroundf(static_cast<float>(bytes) * (1.0F / 1024));
}

// UTF-8 continuation bytes (10xxxxxx) do not start a character.
std::size_t characterCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U; }));
}

} // namespace

std::ostream& operator<<(std::ostream& out, const TokenInfo& info)
{
    label(out, "Label") << escapeControlCharacters(info.label) << std::endl;
    label(out, "Serial number") << info.serialNumber << std::endl;
    label(out, "Model") << escapeControlCharacters(info.model) << std::endl;
    label(out, "Memory(KB) (free/all)") << kilobytes(info.freeMemory) << " / " << kilobytes(info.totalMemory)
                                        << std::endl;
    label(out, "User's PIN length") << info.minUserPinLength << "-" << info.maxUserPinLength << std::endl;
    label(out, "Admin's PIN length") << info.minSoPinLength << "-" << info.maxSoPinLength << std::endl;
    label(out, "User's PIN retry count (left/all)")
        << info.userRetriesLeft << " / " << info.maxUserRetryCount << std::endl;
    label(out, "Admin's PIN retry count (left/all)")
        << info.soRetriesLeft << " / " << info.maxSoRetryCount << std::endl;
    label(out, "PIN change policy") << info.pinChangePolicy << std::endl;
    return out;
}

std::ostream& operator<<(std::ostream& out, const TokenDriveInfo& info)
{
    label(out, "Total space(MB)") << info.totalSize << std::endl;
    for (const auto& volume : info.volumes) {
        out << std::endl;
        label(out, "ID") << volume.id << std::endl;
        label(out, "Size(MB)") << volume.size << std::endl;
        label(out, "Access") << volume.accessMode << std::endl;
        label(out, "Owner") << volume.owners << std::endl;
        label(out, "Volume Type");
        if (volume.sectionType) {
            out << *volume.sectionType << std::endl;
        } else {
            out << "unknown" << std::endl;
        }
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const PinPolicy& policy)
{
    const auto flags = out.flags();
    out << std::boolalpha;
    label(out, "Allow changing") << policy.allowChanging << std::endl;
    label(out, "Remove on format") << policy.removeOnFormat << std::endl;
    label(out, "Default PIN allowed") << policy.defaultPinAllowed << std::endl;
    label(out, "Diff chars required") << policy.diffCharsRequired << std::endl;
    label(out, "Digit required") << policy.digitRequired << std::endl;
    label(out, "Lowercase required") << policy.lowercaseRequired << std::endl;
    label(out, "Uppercase required") << policy.uppercaseRequired << std::endl;
    label(out, "Spec char required") << policy.specCharRequired << std::endl;
    out.flags(flags);
    label(out, "Min length") << static_cast<unsigned>(policy.minLength) << std::endl;
    label(out, "History depth") << static_cast<unsigned>(policy.historyDepth) << std::endl;
    return out;
}

std::ostream& operator<<(std::ostream& out, const TouchSettings& settings)
{
    label(out, "Touch mode") << settings.mode << std::endl;
    label(out, "Present time limit (sec)") << settings.presentTimeLimit << std::endl;
    label(out, "Action timeout (sec)") << settings.actionTimeout << std::endl;
    return out;
}

std::ostream& operator<<(std::ostream& out, const std::vector<BriefTokenInfo>& tokens)
{
    if (tokens.empty()) {
        return out << "No token found." << std::endl;
    }
    std::vector<std::string> models;
    std::size_t width = 0;
    for (const auto& token : tokens) {
        models.push_back(escapeControlCharacters(token.model));
        width = std::max(width, characterCount(models.back()));
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        out << models[i] << std::string(width - characterCount(models[i]), out.fill()) << " - " << std::dec
            << tokens[i].serialNumber << std::endl;
    }
    return out;
}
