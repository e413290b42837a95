#pragma once

#include <qvflash-core/Section.h>

#include <cstdint>
#include <vector>

namespace qvfl {

// The library's own rules for repartitioning and access changes. Each check
// throws the status of the first rule broken; none of them touches the card.

// A new partitioning names at least one section.
void checkSplitNotEmpty(const std::vector<Section>& sections);

// Journal and encrypted sections already on the token each take one of the
// eight places.
void checkSectionCount(const std::vector<Section>& sections, const SectionMap& current);

// Checks the new sections against the token's current ones and the size a
// repartitioning may distribute, and returns the SPLIT command data: one
// section TLV per section, in list order. The count is checkSectionCount's.
std::vector<std::uint8_t> splitCommandData(const std::vector<Section>& sections, const SectionMap& current,
                                           std::uint32_t available);

// CD-ROM emulation can only be switched on permanently.
void checkCdRomPermanent(Section::AccessState state, bool permanent);

// The section must exist; journal sections only switch to read-only
// temporarily, and not while an encrypted section is readable.
void checkAccessChange(const SectionMap& sections, std::uint8_t sectionId, Section::AccessState state, bool permanent);

} // namespace qvfl
