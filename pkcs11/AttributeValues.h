#pragma once

#include "pkcs11/Pkcs11Interface.h"

// Value types of the enumeration attributes; each holds the module's CK_ULONG as it stands,
// so values the bindings have no name for pass through unchanged.
namespace quorvik::pkcs11 {

enum class ObjectClass : CK_ULONG {
    Data = 0,
    Certificate = 1,
    PublicKey = 2,
    PrivateKey = 3,
    SecretKey = 4,
    HwFeature = CKO_HW_FEATURE,
};

enum class CertificateType : CK_ULONG {
    X509 = 0,
    X509AttributeCertificate = 1,
    Wtls = 2,
};

enum class CertificateCategory : CK_ULONG {
    Unspecified = 0,
    TokenUser = 1,
    Authority = 2,
    OtherEntity = 3,
};

enum class KeyType : CK_ULONG {
    Rsa = 0,
    Dsa = 1,
    Dh = 2,
    Ec = 3,
};

enum class UserType : CK_ULONG {
    So = CKU_SO,
    User = CKU_USER,
};

enum class HwFeatureType : CK_ULONG {
    TokenInfo = CKH_QV_TOKEN_INFO,
    PinPolicy = CKH_QV_PIN_POLICY,
    TouchInterface = CKH_QV_TOUCH_INTERFACE,
};

// The token's interfaces; the numbering is the module's own.
enum class VendorCurrentTokenInterface : CK_ULONG {};

// A set of bits over an enumeration, stored as the module's CK_ULONG word.
template <typename E>
class Flags {
public:
    constexpr Flags() noexcept = default;
    constexpr explicit Flags(CK_ULONG bits) noexcept : bits_(bits) {}

    constexpr CK_ULONG bits() const noexcept { return bits_; }
    constexpr bool has(E flag) const noexcept
    {
        return (bits_ & static_cast<CK_ULONG>(flag)) == static_cast<CK_ULONG>(flag);
    }

    friend constexpr bool operator==(Flags a, Flags b) noexcept { return a.bits_ == b.bits_; }
    friend constexpr bool operator!=(Flags a, Flags b) noexcept { return a.bits_ != b.bits_; }

private:
    CK_ULONG bits_ = 0;
};

static_assert(sizeof(Flags<VendorCurrentTokenInterface>) == sizeof(CK_ULONG));

} // namespace quorvik::pkcs11
