#pragma once

#include "pkcs11/Pkcs11Interface.h"

// Every attribute type the bindings know, with its kind. Each row names the enumerator, the
// type's value, and for enumeration and scalar kinds the value type.
#define QV_PKCS11_ATTRIBUTE_TYPES(BOOL, STRING, BUFFER, SCALAR, ENUM)                                                  \
    ENUM(Class, CKA_CLASS, ObjectClass)                                                                                \
    BOOL(Token, CKA_TOKEN)                                                                                             \
    BOOL(Private, CKA_PRIVATE)                                                                                         \
    STRING(Label, CKA_LABEL)                                                                                           \
    STRING(Application, CKA_APPLICATION)                                                                               \
    BUFFER(Value, CKA_VALUE)                                                                                           \
    BUFFER(ObjectId, CKA_OBJECT_ID)                                                                                    \
    ENUM(CertificateType, CKA_CERTIFICATE_TYPE, CertificateType)                                                       \
    BUFFER(Issuer, CKA_ISSUER)                                                                                         \
    BUFFER(SerialNumber, CKA_SERIAL_NUMBER)                                                                            \
    BOOL(Trusted, CKA_TRUSTED)                                                                                         \
    ENUM(CertificateCategory, CKA_CERTIFICATE_CATEGORY, CertificateCategory)                                           \
    BUFFER(HashOfSubjectPublicKey, CKA_HASH_OF_SUBJECT_PUBLIC_KEY)                                                     \
    BUFFER(HashOfIssuerPublicKey, CKA_HASH_OF_ISSUER_PUBLIC_KEY)                                                       \
    BUFFER(CheckValue, CKA_CHECK_VALUE)                                                                                \
    ENUM(KeyType, CKA_KEY_TYPE, KeyType)                                                                               \
    BUFFER(Subject, CKA_SUBJECT)                                                                                       \
    BUFFER(Id, CKA_ID)                                                                                                 \
    BOOL(Sensitive, CKA_SENSITIVE)                                                                                     \
    BOOL(Encrypt, CKA_ENCRYPT)                                                                                         \
    BOOL(Decrypt, CKA_DECRYPT)                                                                                         \
    BOOL(Wrap, CKA_WRAP)                                                                                               \
    BOOL(Unwrap, CKA_UNWRAP)                                                                                           \
    BOOL(Sign, CKA_SIGN)                                                                                               \
    BOOL(SignRecover, CKA_SIGN_RECOVER)                                                                                \
    BOOL(Verify, CKA_VERIFY)                                                                                           \
    BOOL(VerifyRecover, CKA_VERIFY_RECOVER)                                                                            \
    BOOL(Derive, CKA_DERIVE)                                                                                           \
    BUFFER(Modulus, CKA_MODULUS)                                                                                       \
    BUFFER(PublicExponent, CKA_PUBLIC_EXPONENT)                                                                        \
    BUFFER(PrivateExponent, CKA_PRIVATE_EXPONENT)                                                                      \
    BUFFER(Prime1, CKA_PRIME_1)                                                                                        \
    BUFFER(Prime2, CKA_PRIME_2)                                                                                        \
    BUFFER(Exponent1, CKA_EXPONENT_1)                                                                                  \
    BUFFER(Exponent2, CKA_EXPONENT_2)                                                                                  \
    BUFFER(Coefficient, CKA_COEFFICIENT)                                                                               \
    BOOL(Extractable, CKA_EXTRACTABLE)                                                                                 \
    BOOL(Local, CKA_LOCAL)                                                                                             \
    BOOL(NeverExtractable, CKA_NEVER_EXTRACTABLE)                                                                      \
    BOOL(AlwaysSensitive, CKA_ALWAYS_SENSITIVE)                                                                        \
    BOOL(Modifiable, CKA_MODIFIABLE)                                                                                   \
    BUFFER(EcParams, CKA_EC_PARAMS)                                                                                    \
    BUFFER(EcPoint, CKA_EC_POINT)                                                                                      \
    ENUM(HwFeatureType, CKA_HW_FEATURE_TYPE, HwFeatureType)                                                            \
    SCALAR(Vendor80000009, CKA_QV_80000009, unsigned long)                                                             \
    ENUM(VendorCurrentInterface, CKA_QV_CURRENT_INTERFACE, VendorCurrentTokenInterface)                                \
    ENUM(VendorSupportedInterfaces, CKA_QV_SUPPORTED_INTERFACES, Flags<VendorCurrentTokenInterface>)                   \
    STRING(VendorModelName, CKA_QV_MODEL_NAME)                                                                         \
    BOOL(VendorPinRemoveOnFormat, CKA_QV_PIN_REMOVE_ON_FORMAT)                                                         \
    SCALAR(VendorPinMinLength, CKA_QV_PIN_MIN_LENGTH, unsigned char)                                                   \
    SCALAR(VendorPinHistoryDepth, CKA_QV_PIN_HISTORY_DEPTH, unsigned char)                                             \
    BOOL(VendorPinDefaultAllowed, CKA_QV_PIN_DEFAULT_ALLOWED)                                                          \
    BOOL(VendorPinDigitRequired, CKA_QV_PIN_DIGIT_REQUIRED)                                                            \
    BOOL(VendorPinUpperRequired, CKA_QV_PIN_UPPER_REQUIRED)                                                            \
    BOOL(VendorPinLowerRequired, CKA_QV_PIN_LOWER_REQUIRED)                                                            \
    BOOL(VendorPinSpecialRequired, CKA_QV_PIN_SPECIAL_REQUIRED)                                                        \
    BOOL(VendorPinDifferentCharsRequired, CKA_QV_PIN_DIFFERENT_CHARS_REQUIRED)                                         \
    ENUM(VendorPinPolicyUserType, CKA_QV_PIN_POLICY_USER_TYPE, UserType)                                               \
    SCALAR(VendorTouchMode, CKA_QV_TOUCH_MODE, unsigned long)                                                          \
    SCALAR(VendorTouchPresenceTimeLimit, CKA_QV_TOUCH_PRESENCE_TIME_LIMIT, unsigned long)                              \
    SCALAR(VendorTouchActionTimeout, CKA_QV_TOUCH_ACTION_TIMEOUT, unsigned long)                                       \
    BOOL(Vendor8000800D, CKA_QV_8000800D)                                                                              \
    SCALAR(Vendor8000800E, CKA_QV_8000800E, unsigned long)

namespace quorvik::pkcs11 {

// A PKCS#11 attribute type number.
enum class AttributeType : CK_ATTRIBUTE_TYPE {
#define QV_PKCS11_ENUMERATOR(name, value, ...) name = value,
    QV_PKCS11_ATTRIBUTE_TYPES(QV_PKCS11_ENUMERATOR, QV_PKCS11_ENUMERATOR, QV_PKCS11_ENUMERATOR, QV_PKCS11_ENUMERATOR,
                              QV_PKCS11_ENUMERATOR)
#undef QV_PKCS11_ENUMERATOR
};

} // namespace quorvik::pkcs11
