#pragma once

#include "qvtoken-core/TokenState.h"

#include <optional>
#include <string>

namespace qvtoken {

// Attribute types and values of the module's hardware-feature objects.
namespace feature {

constexpr unsigned long classAttribute = 0x0;     // CKA_CLASS
constexpr unsigned long modifiable = 0x170;       // CKA_MODIFIABLE
constexpr unsigned long typeAttribute = 0x300;    // CKA_HW_FEATURE_TYPE
constexpr unsigned long hardwareFeatureClass = 5; // CKO_HW_FEATURE

constexpr unsigned long tokenInfoType = 0x80000001;
constexpr unsigned long pinPolicyType = 0x80000006;
constexpr unsigned long touchType = 0x80000007;

constexpr unsigned long modelName = 0x80003010;

constexpr unsigned long removeOnFormat = 0x80003201;
constexpr unsigned long minLength = 0x80003203;
constexpr unsigned long historyDepth = 0x80003204;
constexpr unsigned long defaultPinAllowed = 0x80003205;
constexpr unsigned long digitRequired = 0x80003206;
constexpr unsigned long uppercaseRequired = 0x80003207;
constexpr unsigned long lowercaseRequired = 0x80003208;
constexpr unsigned long specCharRequired = 0x80003209;
constexpr unsigned long diffCharsRequired = 0x8000320A;
constexpr unsigned long policyUserType = 0x8000320B;

constexpr unsigned long touchMode = 0x80003400;
constexpr unsigned long presenceTimeLimit = 0x80003401;
constexpr unsigned long actionTimeout = 0x80003402;

} // namespace feature

// Attribute values in the module's representation: CK_ULONG in host order, CK_BBOOL and
// CK_BYTE as one byte.
Bytes ulongValue(unsigned long value);
Bytes boolValue(bool value);
Bytes byteValue(unsigned char value);
// The CK_ULONG held by an attribute of exactly that size; empty for any other size.
std::optional<unsigned long> ulongOf(const Attribute& attribute);

// The user PIN policy as the format resets it and as fixtures start.
struct PinPolicyValues {
    bool allowChanging = true;
    bool removeOnFormat = true;
    unsigned char minLength = 6;
    unsigned char historyDepth = 0;
    bool defaultPinAllowed = true;
    bool digitRequired = false;
    bool uppercaseRequired = false;
    bool lowercaseRequired = false;
    bool specCharRequired = false;
    bool diffCharsRequired = false;
};

FeatureObject pinPolicyObject(const PinPolicyValues& values, unsigned long userType = 1);
FeatureObject touchObject(unsigned long mode, unsigned long presenceLimit, unsigned long timeout);
FeatureObject tokenInfoObject(const std::string& modelName);

// Whether the object carries CKA_CLASS = hardware feature and the given feature type.
bool isFeature(const FeatureObject& object, unsigned long type);

} // namespace qvtoken
