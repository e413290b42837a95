#pragma once

#include "qvtoken-core/TokenState.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace qvtoken {

struct PresetInfo {
    std::string name;
    std::string description;
};

// Named starting points for virtual tokens, each a complete token with its own serial and
// slot id (callers may change both before creating it).
const std::vector<PresetInfo>& presets();

// Throws UnknownPresetError for a name not in presets().
TokenState makePreset(const std::string& name);

// Puts the token in slot `slotId` behind a virtual reader named after that slot.
void placeInSlot(TokenState& token, unsigned long slotId);

class UnknownPresetError : public std::runtime_error {
public:
    explicit UnknownPresetError(const std::string& name) : std::runtime_error("Unknown token preset: " + name) {}
};

// The PINs a format sets when none are given, and every preset starts with.
extern const char* const defaultUserPin;
extern const char* const defaultAdminPin;

} // namespace qvtoken
