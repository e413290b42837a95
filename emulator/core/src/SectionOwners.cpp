#include "qvtoken-core/SectionOwners.h"

#include <algorithm>
#include <utility>

namespace qvtoken {

namespace {

constexpr unsigned char allOperations = 0x3F;
constexpr unsigned char forbidden = 0xFF;
constexpr unsigned char roleBits = 0x03;
constexpr unsigned char adminBit = 0x01;
constexpr unsigned char userBit = 0x02;
constexpr unsigned char localSecretBit = 0x04;
constexpr unsigned char keyBit = 0x08;
constexpr unsigned char complexRuleMark = 0x80;

// One operation's condition as the library compares them: an operation without a security
// attribute is unprotected, condition bits above the key bit do not count, and the secret
// byte counts only with a secret.
std::pair<unsigned, unsigned> condition(const Section& section, unsigned op)
{
    if (((section.operationMask >> op) & 1) == 0)
        return {0, 0};
    const unsigned c = section.conditions[op];
    if (c == forbidden)
        return {forbidden, 0};
    const unsigned relevant = c & (roleBits | localSecretBit | keyBit);
    return {relevant, (relevant & (localSecretBit | keyBit)) != 0 ? section.secrets[op] : 0};
}

} // namespace

Section userFilesSection(unsigned number, unsigned long sizeMb, unsigned access, unsigned long owner)
{
    Section section;
    section.number = number;
    section.type = 0;
    section.size = sizeMb;
    section.access = access;
    section.operationMask = allOperations;
    const bool local = owner != ownerAdmin && owner != ownerUser;
    section.conditions = Bytes(6, local ? localSecretBit : owner == ownerAdmin ? adminBit : userBit);
    section.secrets = Bytes(6, local ? static_cast<unsigned char>(owner) : 0);
    return section;
}

unsigned long ownerCode(const TokenState& token, const Section& section)
{
    if (section.type != 0 || section.rawOverride)
        return noSingleOwner;
    const auto first = condition(section, 0);
    for (unsigned op = 1; op < 6; ++op)
        if (condition(section, op) != first)
            return noSingleOwner;
    const auto [c, secret] = first;
    if (c == forbidden || (c & keyBit) != 0)
        return noSingleOwner;
    const unsigned roles = c & roleBits;
    if ((c & localSecretBit) == 0) {
        if (roles == adminBit)
            return ownerAdmin;
        if (roles == userBit)
            return ownerUser;
        return noSingleOwner;
    }
    if (roles != 0 || (secret & complexRuleMark) != 0 || secret < firstLocalId)
        return noSingleOwner;
    const bool mva = std::any_of(token.directory.begin(), token.directory.end(), [&](const DirectoryEntry& e) {
        return std::holds_alternative<MvaFile>(e) && entryId(e) == secret;
    });
    return mva ? noSingleOwner : secret;
}

} // namespace qvtoken
