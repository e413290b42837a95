#pragma once

#include "flash/Token.h"
#include "qvflash.h"
#include "token/CreateMvaParams.h"
#include "token/types/AccessMode.h"
#include "token/types/SectionType.h"
#include "token/types/UserType.h"
#include "token/types/VolumeOwner.h"
#include "token/types/VolumeParams.h"

#include <optional>
#include <vector>

namespace quorvik::qvflash {
// An operation nobody may perform, and one anybody may.
inline constexpr qvflash_PrConds kForbidden{QVFLASH_RULE_FORBIDDEN, 0, 0, QVFLASH_SECRET_NONE};
inline constexpr qvflash_PrConds kUnprotected{QVFLASH_RULE_NONE, 0, 0, QVFLASH_SECRET_NONE};
} // namespace quorvik::qvflash

// The tool's values in the flash library's records and back. A value without a counterpart
// raises the error class of its kind.

qvflash_SectionAccessState toQvflash(AccessMode mode);
AccessMode fromQvflash(qvflash_SectionAccessState state);

quorvik::qvflash::UserType toQvflash(UserType user);

// Empty for the library's section types the tool has no name for (shown as unknown).
std::optional<SectionType> fromQvflash(qvflash_SectionType type);

qvflash_MvaParams toQvflash(const CreateMvaParams& params);

// The section for a volume, its id left 0: the library numbers sections by their position.
// A user-files section protects all six access switches by its owners; a journal only the
// switch to read-only, and forbids the others.
qvflash_Section toQvflash(const VolumeParams& params);

// The owners a section's protect conditions name: none, mixed when the switches are protected
// differently, unknown for what the tool cannot name.
std::vector<VolumeOwner> fromQvflashVolumeOwners(const qvflash_Section& section);
