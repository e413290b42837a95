#pragma once

#include "token/types/VolumeOwner.h"

#include <vector>

// Whether a volume may be protected by these owners together: any single owner the tool can
// name, or exactly the user with an MVA. Throws UnknownVolumeOwnerError for an empty owner.
bool checkOwnersCombination(const std::vector<VolumeOwner>& owners);
