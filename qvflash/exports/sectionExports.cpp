// Exports that read and repartition the flash memory and change a section's
// access state.
#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/convert/sectionConverters.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>
#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>

#include <map>
#include <memory>

using qvfl::Exception;
using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;
using qvfl::exports::tokenOf;

namespace {

// For a listing: an id the token has no object for is shown as such rather
// than failing the list.
qvfl::convert::SecretTypeLookup listingLookup(const qvfl::Token& token)
{
    return [&token](std::uint8_t id) {
        if (id == 0) {
            return QVFLASH_SECRET_NONE;
        }
        try {
            return qvfl::convert::toApiSecretType(token.getLocalSecretType(id));
        } catch (const Exception& failure) {
            if (failure.code() == QVFLASH_ST_FILE_NOT_FOUND) {
                return QVFLASH_SECRET_NOT_FOUND;
            }
            throw;
        }
    };
}

// For a repartitioning: every protecting object must exist.
qvfl::convert::SecretTypeLookup splittingLookup(const qvfl::Token& token)
{
    return [&token](std::uint8_t id) { return qvfl::convert::toApiSecretType(token.getLocalSecretType(id)); };
}

// Asks the card once per id: a listing or a split names the same protecting
// object in many conditions, and each question is a SELECT.
qvfl::convert::SecretTypeLookup askingOnce(qvfl::convert::SecretTypeLookup lookup)
{
    auto known = std::make_shared<std::map<std::uint8_t, qvflash_SecretType>>();
    return [lookup = std::move(lookup), known](std::uint8_t id) {
        const auto found = known->find(id);
        if (found != known->end()) {
            return found->second;
        }
        const qvflash_SecretType type = lookup(id);
        known->emplace(id, type);
        return type;
    };
}

} // namespace

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_create_section_list(qvflash_TokenImpl_* token, qvflash_Section** sections,
                                                           size_t* count)
{
    return executeSafe([&] {
        requirePointers(token, sections, count);
        const qvfl::Token& core = *token->token;
        const qvfl::SectionMap found = core.getSectionsAttributes();
        std::unique_ptr<qvflash_Section[]> list = qvfl::exports::newApiList<qvflash_Section>(found.size());
        const qvfl::convert::SecretTypeLookup lookup = askingOnce(listingLookup(core));
        std::size_t index = 0;
        for (const auto& [id, section] : found) {
            list[index++] = qvfl::convert::toApiSection(id, section, lookup);
        }
        *count = found.size();
        *sections = list.release();
    });
}

QVFLASH_API void qvflash_destroy_section_list(qvflash_Section** sections)
{
    qvfl::exports::destroyApiList(sections);
}

QVFLASH_API qvflash_StatusCode qvflash_get_available_flash_size(qvflash_TokenImpl_* token, uint32_t* size)
{
    return executeSafe([&] {
        requirePointers(token, size);
        *size = token->token->getSizeAvailableForFormatting();
    });
}

QVFLASH_API qvflash_StatusCode qvflash_split_into_sections(qvflash_TokenImpl_* token, const qvflash_Section* sections,
                                                           size_t count)
{
    return executeSafe([&] {
        requirePointers(token, sections);
        qvfl::Token& core = *token->token;
        const qvfl::convert::SecretTypeLookup lookup = askingOnce(splittingLookup(core));
        std::vector<qvfl::Section> converted;
        converted.reserve(count);
        for (std::size_t index = 0; index < count; ++index) {
            converted.push_back(qvfl::convert::toCoreSection(sections[index], lookup));
        }
        core.splitIntoSections(converted, std::make_shared<qvfl::ScardEnumeratorImpl>());
    });
}

QVFLASH_API qvflash_StatusCode qvflash_change_section_access_rights(qvflash_TokenImpl_* token, uint8_t sectionId,
                                                                    qvflash_SectionAccessState state, bool permanent)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        // The card takes the state as one byte: a value outside the states
        // would reach it cut down to another state.
        const qvfl::Section::AccessState coreState = qvfl::convert::toCoreAccessState(state);
        core.changeAccessRights(sectionId, coreState, permanent, std::make_shared<qvfl::ScardEnumeratorImpl>());
    });
}

} // extern "C"
