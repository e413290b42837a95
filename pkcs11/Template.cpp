#include "pkcs11/Template.h"

namespace quorvik::pkcs11 {

Attribute* Template::attribute(AttributeType type) const
{
    const auto found = attributes_.find(type);
    return found == attributes_.end() ? nullptr : found->second.get();
}

std::vector<CK_ATTRIBUTE> Template::rawAttributes() const
{
    std::vector<CK_ATTRIBUTE> raw;
    raw.reserve(attributes_.size());
    for (const auto& [type, attribute] : attributes_)
        raw.push_back({static_cast<CK_ATTRIBUTE_TYPE>(type), attribute->valuePtr(), attribute->valueLen()});
    return raw;
}

void Template::addUninitializedAttribute(const CK_ATTRIBUTE& raw)
{
    insert(Attribute::create(raw));
}

void Template::insert(std::unique_ptr<Attribute> attribute)
{
    const auto type = attribute->type();
    attributes_.emplace(type, std::move(attribute));
}

} // namespace quorvik::pkcs11
