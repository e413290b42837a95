#pragma once

#include "token/types/VolumeOwner.h"

#include <vector>

// Whether a volume may be protected by these owners together: any single owner the tool can
// log in as or needs none for, or exactly the user with an MVA. A section whose operations
// have differing conditions (a mixed owner) or a condition the tool cannot name (an unknown
// owner) is neither. Throws UnknownVolumeOwnerError for an empty owner.
bool checkOwnersCombination(const std::vector<VolumeOwner>& owners);
