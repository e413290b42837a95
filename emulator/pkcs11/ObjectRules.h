#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>

namespace qvstandin {

// An object matches when it carries every template attribute with the same length and bytes.
bool matchesTemplate(const qvtoken::FeatureObject& object, const CK_ATTRIBUTE* templ, CK_ULONG count);

// Sizes (null pValue) or copies each requested attribute; a missing one is marked unavailable
// and reported, a short buffer likewise, and the other entries are still answered.
CK_RV getAttributes(const qvtoken::FeatureObject& object, CK_ATTRIBUTE* templ, CK_ULONG count);

// Validates every attribute first, then writes them all, so a refusal changes nothing.
CK_RV setAttributes(const qvtoken::TokenState& token, qvtoken::FeatureObject& object, const CK_ATTRIBUTE* templ,
                    CK_ULONG count);

} // namespace qvstandin
