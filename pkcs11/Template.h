#pragma once

#include "pkcs11/Attribute.h"
#include "pkcs11/Pkcs11Interface.h"

#include <map>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvik::pkcs11 {

// At most one attribute per type, kept in ascending type order, which is the order in which
// the module receives them.
class Template {
public:
    Template() = default;
    Template(Template&&) noexcept = default;
    Template& operator=(Template&&) noexcept = default;
    // Attributes are owned; copying would have to deep-copy each one, which no caller needs.
    Template(const Template&) = delete;
    Template& operator=(const Template&) = delete;

    std::size_t size() const noexcept { return attributes_.size(); }

    // The attribute of `type`, or null; the template keeps ownership.
    Attribute* attribute(AttributeType type) const;

    // Module records pointing into the attributes' own storage, in ascending type order; valid
    // while the template and its attributes live.
    std::vector<CK_ATTRIBUTE> rawAttributes() const;

    // Creates the attribute for `raw` with a zeroed value of its length. A type already present
    // keeps its attribute; a failure leaves the template unchanged.
    void addUninitializedAttribute(const CK_ATTRIBUTE& raw);

    template <typename... Kinds>
    void emplaceAttributes(Kinds&&... attributes)
    {
        (insert(std::make_unique<std::decay_t<Kinds>>(std::forward<Kinds>(attributes))), ...);
    }

private:
    void insert(std::unique_ptr<Attribute> attribute);

    std::map<AttributeType, std::unique_ptr<Attribute>> attributes_;
};

} // namespace quorvik::pkcs11
