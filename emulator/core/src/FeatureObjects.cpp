#include "qvtoken-core/FeatureObjects.h"

#include <cstring>

namespace qvtoken {

Bytes ulongValue(unsigned long value)
{
    Bytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Bytes boolValue(bool value)
{
    return Bytes{static_cast<unsigned char>(value ? 1 : 0)};
}

Bytes byteValue(unsigned char value)
{
    return Bytes{value};
}

std::optional<unsigned long> ulongOf(const Attribute& attribute)
{
    unsigned long value = 0;
    if (attribute.value.size() != sizeof value)
        return std::nullopt;
    std::memcpy(&value, attribute.value.data(), sizeof value);
    return value;
}

namespace {

FeatureObject featureHeader(unsigned long type)
{
    return FeatureObject{{{feature::classAttribute, ulongValue(feature::hardwareFeatureClass)},
                          {feature::typeAttribute, ulongValue(type)}}};
}

} // namespace

FeatureObject pinPolicyObject(const PinPolicyValues& v, unsigned long userType)
{
    FeatureObject object = featureHeader(feature::pinPolicyType);
    object.attributes.insert(object.attributes.end(), {
                                                          {feature::modifiable, boolValue(v.allowChanging)},
                                                          {feature::removeOnFormat, boolValue(v.removeOnFormat)},
                                                          {feature::minLength, byteValue(v.minLength)},
                                                          {feature::historyDepth, byteValue(v.historyDepth)},
                                                          {feature::defaultPinAllowed, boolValue(v.defaultPinAllowed)},
                                                          {feature::digitRequired, boolValue(v.digitRequired)},
                                                          {feature::uppercaseRequired, boolValue(v.uppercaseRequired)},
                                                          {feature::lowercaseRequired, boolValue(v.lowercaseRequired)},
                                                          {feature::specCharRequired, boolValue(v.specCharRequired)},
                                                          {feature::diffCharsRequired, boolValue(v.diffCharsRequired)},
                                                          {feature::policyUserType, ulongValue(userType)},
                                                      });
    return object;
}

FeatureObject touchObject(unsigned long mode, unsigned long presenceLimit, unsigned long timeout)
{
    FeatureObject object = featureHeader(feature::touchType);
    object.attributes.insert(object.attributes.end(), {
                                                          {feature::touchMode, ulongValue(mode)},
                                                          {feature::presenceTimeLimit, ulongValue(presenceLimit)},
                                                          {feature::actionTimeout, ulongValue(timeout)},
                                                      });
    return object;
}

FeatureObject tokenInfoObject(const std::string& modelName)
{
    FeatureObject object = featureHeader(feature::tokenInfoType);
    object.attributes.push_back({feature::modelName, bytesOf(modelName)});
    return object;
}

bool isFeature(const FeatureObject& object, unsigned long type)
{
    const Attribute* cls = object.find(feature::classAttribute);
    const Attribute* kind = object.find(feature::typeAttribute);
    return cls != nullptr && kind != nullptr && ulongOf(*cls) == feature::hardwareFeatureClass &&
           ulongOf(*kind) == type;
}

} // namespace qvtoken
