#include "token/tokenIdentification.h"

#include "cli/internalError.h"
#include "pkcs11/AttributeKinds.h"
#include "token/hardwareFeatures.h"

#include <iomanip>
#include <sstream>

using namespace quorvik::pkcs11;

namespace {
constexpr unsigned long kFirstSelfIdentifyingFeatureNumber = 32;
constexpr unsigned kFirstZrn2Firmware = 20;
constexpr unsigned kFirstZrn3Firmware = 28;

void writeVersion(std::ostream& out, const CK_VERSION& version)
{
    out << std::setw(2) << static_cast<unsigned>(version.major) << '.' << std::setw(2)
        << static_cast<unsigned>(version.minor);
}

std::string className(const CK_TOKEN_INFO& info, CK_ULONG tokenClass)
{
    switch (tokenClass) {
    case QV_TOKEN_CLASS_ZRN:
        if (info.firmwareVersion.major >= kFirstZrn3Firmware) {
            return "ZRN 3.0";
        }
        return info.firmwareVersion.major >= kFirstZrn2Firmware ? "ZRN 2.0" : "ZRN";
    case QV_TOKEN_CLASS_MOSK:
        return "Mosk";
    default:
        throw UnknownTokenClassError();
    }
}
} // namespace

std::optional<std::string> getSelfIdentifiedModelName(std::shared_ptr<Token> token, unsigned long featureNumber)
{
    if (featureNumber < kFirstSelfIdentifyingFeatureNumber) {
        return std::nullopt;
    }
    auto session = token->openSession(CKF_RW_SESSION);
    const auto feature = findTokenInfoFeature(session);
    if (!feature) {
        return std::nullopt;
    }
    const auto values = feature->getAttributeValue({AttributeType::VendorModelName});
    if (const auto* name = values.attribute(AttributeType::VendorModelName)) {
        return dynamic_cast<const AttributeOf<AttributeType::VendorModelName>&>(*name).value();
    }
    return std::nullopt;
}

std::string getTokenIdentificationString(std::shared_ptr<Token> token, const CK_TOKEN_INFO& info,
                                         const CK_TOKEN_INFO_EXTENDED& ext)
{
    if (auto name = getSelfIdentifiedModelName(std::move(token), ext.featureNumber)) {
        return std::move(*name);
    }
    std::ostringstream out;
    out << std::setfill('0');
    writeVersion(out, info.hardwareVersion);
    out << '.';
    writeVersion(out, info.firmwareVersion);
    out << ' ' << className(info, ext.tokenClass);
    return out.str();
}
