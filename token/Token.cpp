#include "token/Token.h"

#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "pin/generatePin.h"
#include "pin/wipeString.h"
#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/ScopeGuard.h"
#include "token/failOnBlockedLocalPins.h"
#include "token/hardwareFeatures.h"
#include "token/logoutGuards.h"
#include "token/pkcsConversions.h"
#include "token/tokenIdentification.h"
#include "token/unblockFlashPins.h"
#include "token/wrapPinChange.h"
#include "token/wrapPkcsLogin.h"
#include "token/wrapQvflashLogin.h"

#include <utility>

using quorvik::pkcs11::AttributeOf;
using quorvik::pkcs11::AttributeType;
using quorvik::pkcs11::Session;
using quorvik::pkcs11::Template;
using PkcsUserType = quorvik::pkcs11::UserType;
using FlashUserType = quorvik::qvflash::UserType;

namespace {

Session openSession(quorvik::pkcs11::Token& token)
{
    return token.openSession(CKF_RW_SESSION);
}

// The value of an attribute a read returned; the template holds each type in its own kind.
template <AttributeType Type>
auto valueOf(const Template& attributes)
{
    return static_cast<const AttributeOf<Type>&>(*attributes.attribute(Type)).value();
}

PinChangePolicy pinChangePolicyOf(const CK_TOKEN_INFO_EXTENDED& ext)
{
    switch (ext.flags & (QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN | QV_TOKEN_FLAG_USER_CHANGES_USER_PIN)) {
    case QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN:
        return PinChangePolicy::So;
    case QV_TOKEN_FLAG_USER_CHANGES_USER_PIN:
        return PinChangePolicy::User;
    case QV_TOKEN_FLAG_ADMIN_CHANGES_USER_PIN | QV_TOKEN_FLAG_USER_CHANGES_USER_PIN:
        return PinChangePolicy::Both;
    default:
        throw UnknownPinChangePolicyError();
    }
}

// The module reads the strings through the block and never writes them.
CK_UTF8CHAR_PTR moduleText(const std::string& text)
{
    return reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(text.data()));
}

CK_QUORVIK_INIT_PARAM initBlock(const FormatTokenParams& params)
{
    CK_QUORVIK_INIT_PARAM block{};
    block.size = QV_INIT_PARAM_SIZE;
    block.repair = params.repair ? 1 : 0;
    block.newSoPin = moduleText(params.newSoPin);
    block.newSoPinLen = params.newSoPin.size();
    block.newUserPin = moduleText(params.newUserPin);
    block.newUserPinLen = params.newUserPin.size();
    block.changePolicyFlags = static_cast<CK_ULONG>(params.pinChangePolicy) + 1;
    block.minSoPinLen = params.minSoPinLength;
    block.minUserPinLen = params.minUserPinLength;
    block.maxSoRetry = params.maxSoRetryCount;
    block.maxUserRetry = params.maxUserRetryCount;
    block.label = moduleText(params.label);
    block.labelLen = params.label.size();
    return block;
}

} // namespace

Token::Token(std::shared_ptr<quorvik::pkcs11::Token> pkcsToken, std::shared_ptr<FlashTokenList> flashTokens)
    : pkcsToken_(std::move(pkcsToken)),
      flash_(std::make_shared<FlashBackEnd>(pkcsToken_->serialNumber(), std::move(flashTokens)))
{
}

std::uint64_t Token::getSerialNumber() const
{
    return pkcsToken_->serialNumber();
}

unsigned long Token::getSlotId() const
{
    return pkcsToken_->slotId();
}

TokenInfo Token::getInfo() const
{
    const CK_TOKEN_INFO info = pkcsToken_->getTokenInfo();
    const CK_TOKEN_INFO_EXTENDED ext = pkcsToken_->getTokenInfoEx();
    TokenInfo result;
    result.label = openSession(*pkcsToken_).getLabelEx();
    for (const CK_BYTE byte : ext.serial) {
        result.serialNumber = (result.serialNumber << 8) | byte;
    }
    result.totalMemory = ext.totalMemory;
    result.freeMemory = ext.freeMemory;
    result.maxSoPinLength = ext.maxSoPinLen;
    result.minSoPinLength = ext.minSoPinLen;
    result.maxUserPinLength = ext.maxUserPinLen;
    result.minUserPinLength = ext.minUserPinLen;
    result.maxSoRetryCount = ext.maxSoRetry;
    result.soRetriesLeft = ext.soRetriesLeft;
    result.maxUserRetryCount = ext.maxUserRetry;
    result.userRetriesLeft = ext.userRetriesLeft;
    result.model = getTokenIdentificationString(pkcsToken_, info, ext);
    result.pinChangePolicy = pinChangePolicyOf(ext);
    return result;
}

PinLengths Token::getSoPinLengths() const
{
    const TokenInfo info = getInfo();
    return {info.minSoPinLength, info.maxSoPinLength};
}

PinLengths Token::getUserPinLengths() const
{
    const TokenInfo info = getInfo();
    PinLengths lengths{info.minUserPinLength, info.maxUserPinLength};
    const auto policy = getUserPinPolicy();
    if (policy && policy->minLength >= lengths.min) {
        lengths.min = policy->minLength;
    }
    return lengths;
}

std::optional<PinPolicy> Token::getUserPinPolicy() const
{
    auto session = openSession(*pkcsToken_);
    const auto object = findUserPinPolicyFeature(session);
    const std::vector<AttributeType> types{
        AttributeType::Modifiable,
        AttributeType::VendorPinRemoveOnFormat,
        AttributeType::VendorPinDefaultAllowed,
        AttributeType::VendorPinDifferentCharsRequired,
        AttributeType::VendorPinDigitRequired,
        AttributeType::VendorPinHistoryDepth,
        AttributeType::VendorPinLowerRequired,
        AttributeType::VendorPinUpperRequired,
        AttributeType::VendorPinSpecialRequired,
        AttributeType::VendorPinMinLength,
    };
    const Template attributes = object.getAttributeValue(types);
    if (attributes.size() < types.size()) {
        return std::nullopt;
    }
    PinPolicy policy;
    policy.removeOnFormat = valueOf<AttributeType::VendorPinRemoveOnFormat>(attributes);
    policy.allowChanging = valueOf<AttributeType::Modifiable>(attributes);
    policy.defaultPinAllowed = valueOf<AttributeType::VendorPinDefaultAllowed>(attributes);
    policy.digitRequired = valueOf<AttributeType::VendorPinDigitRequired>(attributes);
    policy.uppercaseRequired = valueOf<AttributeType::VendorPinUpperRequired>(attributes);
    policy.lowercaseRequired = valueOf<AttributeType::VendorPinLowerRequired>(attributes);
    policy.specCharRequired = valueOf<AttributeType::VendorPinSpecialRequired>(attributes);
    policy.diffCharsRequired = valueOf<AttributeType::VendorPinDifferentCharsRequired>(attributes);
    policy.minLength = valueOf<AttributeType::VendorPinMinLength>(attributes);
    policy.historyDepth = valueOf<AttributeType::VendorPinHistoryDepth>(attributes);
    return policy;
}

std::optional<TouchSettings> Token::getTouchSettings() const
{
    auto session = openSession(*pkcsToken_);
    const auto object = findTouchInterfaceFeature(session);
    if (!object) {
        return std::nullopt;
    }
    const std::vector<AttributeType> types{AttributeType::VendorTouchMode, AttributeType::VendorTouchPresenceTimeLimit,
                                           AttributeType::VendorTouchActionTimeout};
    const Template attributes = object->getAttributeValue(types);
    if (attributes.size() < types.size()) {
        throw NoTouchInterfaceError();
    }
    TouchSettings settings;
    settings.mode = fromPkcsTouchMode(valueOf<AttributeType::VendorTouchMode>(attributes));
    settings.presentTimeLimit = valueOf<AttributeType::VendorTouchPresenceTimeLimit>(attributes);
    settings.actionTimeout = valueOf<AttributeType::VendorTouchActionTimeout>(attributes);
    return settings;
}

void Token::format(const FormatTokenParams& params)
{
    // A policy without a name has no change flags to give the token.
    if (!toString(params.pinChangePolicy)) {
        throw UnknownPinChangePolicyError();
    }
    CK_QUORVIK_INIT_PARAM block = initBlock(params);
    const TokenInfo info = getInfo();
    if (params.repair) {
        formatRepairing(block, info.minSoPinLength, info.maxSoRetryCount);
        return;
    }
    wrapPkcsLogin([&] { pkcsToken_->formatToken(params.authPin, &block); }, UserType::So, *pkcsToken_);
}

// The admin PIN is unknown: wrong guesses block it, and a blocked token formats without it. A
// guess that happens to be right is replaced. A token whose PIN never blocks ends the attempts
// well after any real counter would have run out.
void Token::formatRepairing(const CK_QUORVIK_INIT_PARAM& block, std::uint64_t pinLength, std::uint64_t maxSoRetryCount)
{
    const std::uint64_t attemptBound = 2 * maxSoRetryCount + 16;
    std::string guess = generatePin(pinLength, {});
    const auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&guess] { wipeString(guess); });
    for (std::uint64_t attempt = 0;; ++attempt) {
        if (attempt == attemptBound) {
            throw UnknownError();
        }
        try {
            openSession(*pkcsToken_).login(guess, PkcsUserType::So);
        } catch (const quorvik::pkcs11::PinIncorrectException&) {
            continue;
        } catch (const quorvik::pkcs11::PinLockedException&) {
            break;
        }
        wipeString(guess);
        guess = generatePin(pinLength, {});
    }
    CK_QUORVIK_INIT_PARAM repairBlock = block;
    pkcsToken_->formatToken({}, &repairBlock);
}

void Token::setSoPin(const SetSoPinParams& params)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(params.authPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    wrapPinChange([&] { session.setPIN(params.newPin); });
    logoutAfterChange(session, getSerialNumber());
}

void Token::setUserPin(const SetUserPinParams& params)
{
    const PkcsUserType role = toPkcs(params.authAs);
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(params.authPin, role); }, params.authAs, *pkcsToken_);
    wrapPinChange([&] {
        if (params.authAs == UserType::So) {
            session.initPIN(params.newPin);
        } else {
            session.setPIN(params.newPin);
        }
    });
    logoutAfterChange(session, getSerialNumber());
}

void Token::enableForcedPinChangeMode(const std::string& soPin)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    session.forceChangePin(PkcsUserType::User);
    logoutAfterChange(session, getSerialNumber());
}

void Token::unblockPins(const std::string& soPin)
{
    if (auto* const flash = flashToken()) {
        wrapQvflashLogin([&] { flash->login(soPin, FlashUserType::Admin); }, UserType::So);
        const auto logout = logoutOnExit(*flash);
        unblockFlashPins(*flash);
        return;
    }
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    session.unblockUserPinEx();
    logoutAfterChange(session, getSerialNumber());
    failOnBlockedLocalPins(*pkcsToken_);
}

void Token::setLabel(const std::string& userPin, const std::string& label)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(userPin, PkcsUserType::User); }, UserType::User, *pkcsToken_);
    session.setLabelEx(label);
    logoutAfterChange(session, getSerialNumber());
}

// Closing the session ends the login.
void Token::setUserPinPolicy(const std::string& soPin, const PinPolicy& policy)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    auto object = findUserPinPolicyFeature(session);
    Template values;
    values.emplaceAttributes(AttributeOf<AttributeType::Modifiable>(policy.allowChanging),
                             AttributeOf<AttributeType::VendorPinRemoveOnFormat>(policy.removeOnFormat),
                             AttributeOf<AttributeType::VendorPinDefaultAllowed>(policy.defaultPinAllowed),
                             AttributeOf<AttributeType::VendorPinDigitRequired>(policy.digitRequired),
                             AttributeOf<AttributeType::VendorPinUpperRequired>(policy.uppercaseRequired),
                             AttributeOf<AttributeType::VendorPinLowerRequired>(policy.lowercaseRequired),
                             AttributeOf<AttributeType::VendorPinSpecialRequired>(policy.specCharRequired),
                             AttributeOf<AttributeType::VendorPinDifferentCharsRequired>(policy.diffCharsRequired),
                             AttributeOf<AttributeType::VendorPinMinLength>(policy.minLength),
                             AttributeOf<AttributeType::VendorPinHistoryDepth>(policy.historyDepth));
    object.setAttributeValue(std::move(values));
}

// Closing the session ends the login.
void Token::setTouchSettings(const std::string& soPin, const TouchSettings& settings)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    auto object = findTouchInterfaceFeature(session);
    if (!object) {
        throw NoTouchInterfaceError();
    }
    Template values;
    values.emplaceAttributes(AttributeOf<AttributeType::VendorTouchMode>(toPkcs(settings.mode)),
                             AttributeOf<AttributeType::VendorTouchActionTimeout>(settings.actionTimeout),
                             AttributeOf<AttributeType::VendorTouchPresenceTimeLimit>(settings.presentTimeLimit));
    object->setAttributeValue(std::move(values));
}
