#include "pkcs11/Object.h"

#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Template.h"
#include "pkcs11/Wrapper.h"

#include <boost/range/algorithm_ext/erase.hpp>

namespace quorvik::pkcs11 {
namespace {

// Return values of the sizing call that still leave the lengths of the other attributes valid.
bool leavesOtherLengths(CK_RV rv)
{
    return rv == CKR_ATTRIBUTE_SENSITIVE || rv == CKR_ATTRIBUTE_TYPE_INVALID || rv == CKR_BUFFER_TOO_SMALL;
}

} // namespace

Object::Object(const detail::Wrapper& wrapper, CK_SESSION_HANDLE session, CK_OBJECT_HANDLE handle)
    : wrapper_(&wrapper), session_(session), handle_(handle)
{
}

Template Object::getAttributeValue(const std::vector<AttributeType>& types) const
{
    std::vector<CK_ATTRIBUTE> sizes;
    sizes.reserve(types.size());
    for (const AttributeType type : types)
        sizes.push_back({static_cast<CK_ATTRIBUTE_TYPE>(type), nullptr, 0});

    try {
        wrapper_->getAttributeValue(session_, handle_, sizes.data(), sizes.size());
    } catch (const Pkcs11Exception& error) {
        if (!leavesOtherLengths(error.rv()))
            throw;
        boost::range::remove_erase_if(
            sizes, [](const CK_ATTRIBUTE& raw) { return raw.ulValueLen == CK_UNAVAILABLE_INFORMATION; });
    }

    Template values;
    for (const CK_ATTRIBUTE& raw : sizes)
        values.addUninitializedAttribute(raw);
    if (values.size() != 0) {
        std::vector<CK_ATTRIBUTE> raw = values.rawAttributes();
        wrapper_->getAttributeValue(session_, handle_, raw.data(), raw.size());
    }
    return values;
}

void Object::setAttributeValue(Template&& values)
{
    std::vector<CK_ATTRIBUTE> raw = values.rawAttributes();
    wrapper_->setAttributeValue(session_, handle_, raw.data(), raw.size());
}

} // namespace quorvik::pkcs11
