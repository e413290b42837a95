#pragma once

#include <qvflash-core/Section.h>

#include <qvflash.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace qvfl::convert {

// The type of the object a local secret id names, as the exported records
// carry it; each export binds it to its token.
using SecretTypeLookup = std::function<qvflash_SecretType(std::uint8_t)>;

// Index 0..5 of an operation in qvflash_Section::conditions.
unsigned toApiSectionSecOp(Section::SwitchAccessOperations operation);

// The listed states cross unchanged; any other value is a logic error.
Section::AccessState toCoreAccessState(qvflash_SectionAccessState state);

// Empty when the record asks for no condition at all (the operation is then
// left out of the section's map). 100017 for an unknown rule or secret type or
// a forbidden operation with a secret; 100018 for a secret id outside 3..31;
// 100027 when the token's object of that id is of another type.
std::optional<SecurAttr> toCoreSecAttr(const qvflash_PrConds& conditions, const SecretTypeLookup& lookup);

// The record's id is not read: the card numbers sections by position.
Section toCoreSection(const qvflash_Section& section, const SecretTypeLookup& lookup);

qvflash_Section toApiSection(std::uint8_t id, const Section& section, const SecretTypeLookup& lookup);

} // namespace qvfl::convert
