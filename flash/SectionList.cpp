#include "flash/SectionList.h"

#include "flash/handleStatusCode.h"

#include <algorithm>

namespace quorvik::qvflash {

std::shared_ptr<SectionList> SectionList::create(qvflash_TokenImpl_* token)
{
    return std::make_shared<SectionList>(Passkey{}, token);
}

// A failed read hands nothing out, so a throwing constructor leaves nothing to release.
SectionList::SectionList(Passkey, qvflash_TokenImpl_* token)
{
    handleStatusCode(qvflash_create_section_list(token, &sections_, &count_));
}

SectionList::~SectionList()
{
    qvflash_destroy_section_list(&sections_);
}

const qvflash_Section* SectionList::getSectionById(uint8_t id) const
{
    return std::find_if(cbegin(), cend(), [id](const qvflash_Section& section) { return section.id == id; });
}

} // namespace quorvik::qvflash
