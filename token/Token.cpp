#include "token/Token.h"

#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "flash/getPcSnapshot.h"
#include "pin/generatePin.h"
#include "pin/wipeString.h"
#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/ScopeGuard.h"
#include "token/addLogPcInfo.h"
#include "token/checkSecretExistence.h"
#include "token/hardwareFeatures.h"
#include "token/logoutGuards.h"
#include "token/pkcsConversions.h"
#include "token/qvflashConversions.h"
#include "token/tokenIdentification.h"
#include "token/types/checkOwnersCombination.h"
#include "token/wrapPkcsLogin.h"
#include "token/wrapQvflashLogin.h"

#include <algorithm>
#include <limits>
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

bool hasDrive(const CK_TOKEN_INFO_EXTENDED& ext)
{
    return (ext.flags & QV_TOKEN_FLAG_HAS_FLASH_DRIVE) != 0;
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

// Whether a volume of these owners asks for a PIN: an MVA checks the host instead.
bool needsPin(const std::vector<VolumeOwner>& owners)
{
    return std::any_of(owners.begin(), owners.end(), [](const VolumeOwner& owner) {
        const auto type = owner.getType();
        return type == VolumeOwner::Type::User || type == VolumeOwner::Type::So || type == VolumeOwner::Type::LocalUser;
    });
}

// A volume without owner takes no login.
void loginOwner(quorvik::qvflash::Token& flash, const VolumeOwner& owner, const std::optional<std::string>& pin)
{
    const auto& value = owner.value();
    if (const auto* user = std::get_if<UserType>(&value)) {
        flash.login(*pin, toQvflash(*user));
    } else if (const auto* local = std::get_if<LocalUserId>(&value)) {
        flash.loginLocal(local->get(), *pin);
    } else if (const auto* mva = std::get_if<MvaId>(&value)) {
        flash.loginMva(mva->get(), getPcSnapshot());
    }
}

} // namespace

Token::Token(std::shared_ptr<quorvik::pkcs11::Token> pkcsToken)
    : pkcsToken_(std::move(pkcsToken)), flashToken_(quorvik::qvflash::Token::create(pkcsToken_->serialNumber()))
{
}

std::uint64_t Token::getSerialNumber() const
{
    return pkcsToken_->serialNumber();
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

std::uint64_t Token::getMinSoPinLen() const
{
    return getInfo().minSoPinLength;
}

std::uint64_t Token::getMinUserPinLen() const
{
    const std::uint64_t tokenMinimum = getInfo().minUserPinLength;
    const auto policy = getUserPinPolicy();
    if (policy && policy->minLength >= tokenMinimum) {
        return policy->minLength;
    }
    return tokenMinimum;
}

std::uint64_t Token::getMinLocalPinLen(const LocalUserId& id) const
{
    const auto local = pkcsToken_->getLocalPinInfo(id.get());
    if (!local) {
        throw NoSecretError();
    }
    return local->minPinLen;
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

std::optional<TokenDriveInfo> Token::getDriveInfo() const
{
    TokenDriveInfo drive;
    if (flashToken_) {
        const auto sections = flashToken_->getTokenVolumeInfo();
        for (auto section = sections->cbegin(); section != sections->cend(); ++section) {
            drive.volumes.push_back(TokenVolumeInfo{section->id, section->size, fromQvflash(section->accessState),
                                                    fromQvflashVolumeOwners(*section), fromQvflash(section->type)});
        }
        drive.totalSize = flashToken_->getDriveSize();
        return drive;
    }
    if (!hasDrive(pkcsToken_->getTokenInfoEx())) {
        return std::nullopt;
    }
    for (const auto& volume : pkcsToken_->getTokenVolumeInfoEx()) {
        drive.volumes.push_back(TokenVolumeInfo{volume.id,
                                                volume.sizeMb,
                                                fromPkcs(volume.accessMode),
                                                {fromPkcsVolumeOwner(volume.owner)},
                                                SectionType::UserFiles});
    }
    drive.totalSize = pkcsToken_->getDriveSize();
    return drive;
}

void Token::format(const FormatTokenParams& params)
{
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
    session.setPIN(params.newPin);
    logoutAfterChange(session);
}

void Token::setUserPin(const SetUserPinParams& params)
{
    const PkcsUserType role = toPkcs(params.authAs);
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(params.authPin, role); }, params.authAs, *pkcsToken_);
    if (params.authAs == UserType::So) {
        session.initPIN(params.newPin);
    } else {
        session.setPIN(params.newPin);
    }
    logoutAfterChange(session);
}

void Token::enableForcedPinChangeMode(const std::string& soPin)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    session.forceChangePin(PkcsUserType::User);
    logoutAfterChange(session);
}

void Token::unblockPins(const std::string& soPin)
{
    if (flashToken_) {
        wrapQvflashLogin([&] { flashToken_->login(soPin, FlashUserType::Admin); }, UserType::So);
        const auto logout = logoutOnExit(*flashToken_);
        flashToken_->unblockPins();
        return;
    }
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(soPin, PkcsUserType::So); }, UserType::So, *pkcsToken_);
    session.unblockUserPinEx();
    logoutAfterChange(session);
}

void Token::setLabel(const std::string& userPin, const std::string& label)
{
    auto session = openSession(*pkcsToken_);
    wrapPkcsLogin([&] { session.login(userPin, PkcsUserType::User); }, UserType::User, *pkcsToken_);
    session.setLabelEx(label);
    logoutAfterChange(session);
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

void Token::formatDrive(const FormatDriveParams& params)
{
    if (!flashToken_) {
        std::vector<CK_VOLUME_FORMAT_INFO_EXTENDED> volumes;
        for (const auto& volume : params.volumes) {
            volumes.push_back(toPkcs(volume));
        }
        wrapPkcsLogin([&] { pkcsToken_->formatDrive(params.authPin, volumes); }, UserType::So, *pkcsToken_);
        return;
    }
    std::vector<qvflash_Section> sections;
    for (const auto& volume : params.volumes) {
        for (const auto& owner : volume.owners) {
            if (const auto* local = std::get_if<LocalUserId>(&owner.value())) {
                checkSecretExistence(*flashToken_, local->get(), QVFLASH_SECRET_LOCAL_PIN);
            } else if (const auto* mva = std::get_if<MvaId>(&owner.value())) {
                checkSecretExistence(*flashToken_, mva->get(), QVFLASH_SECRET_MVA);
            }
        }
        sections.push_back(toQvflash(volume));
    }
    wrapQvflashLogin([&] { flashToken_->login(params.authPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(*flashToken_);
    flashToken_->splitIntoSections(sections);
}

void Token::setVolumeAccessMode(const SetVolumeAccessModeParams& params)
{
    if (flashToken_) {
        setVolumeAccessModeByFlash(params);
    } else {
        setVolumeAccessModeByPkcs(params);
    }
}

// Every owner logs in; the journal records the host whether the logins pass or not.
void Token::setVolumeAccessModeByFlash(const SetVolumeAccessModeParams& params)
{
    // Section ids are one byte: a larger id must not select the section of its low byte.
    if (params.volumeId > std::numeric_limits<std::uint8_t>::max()) {
        throw NoVolumeError();
    }
    const auto id = static_cast<std::uint8_t>(params.volumeId);
    const auto sections = flashToken_->getTokenVolumeInfo();
    const auto* section = sections->getSectionById(id);
    if (section == sections->cend()) {
        throw NoVolumeError();
    }
    const auto owners = fromQvflashVolumeOwners(*section);
    if (!checkOwnersCombination(owners)) {
        throw UnsupportedAuthTypeError();
    }
    const bool pinNeeded = needsPin(owners);
    if (params.pin && !pinNeeded) {
        throw UnnecessaryPinProvidedError();
    }
    if (!params.pin && pinNeeded) {
        throw MissingPinError();
    }
    const auto logout = logoutOnExit(*flashToken_);
    try {
        for (const auto& owner : owners) {
            wrapQvflashLogin([&] { loginOwner(*flashToken_, owner, params.pin); }, owner);
        }
    } catch (...) {
        addLogPcInfo(*flashToken_);
        throw;
    }
    flashToken_->changeSectionAccessRights(id, toQvflash(params.accessMode), params.permanent);
    addLogPcInfo(*flashToken_);
}

// The module checks the owner's PIN itself.
void Token::setVolumeAccessModeByPkcs(const SetVolumeAccessModeParams& params)
{
    if (!hasDrive(pkcsToken_->getTokenInfoEx())) {
        throw NoDriveError();
    }
    if (!params.pin) {
        throw MissingPinError();
    }
    const auto volumes = pkcsToken_->getTokenVolumeInfoEx();
    const auto volume =
        std::find_if(volumes.begin(), volumes.end(), [&](const auto& entry) { return entry.id == params.volumeId; });
    if (volume == volumes.end()) {
        throw NoVolumeError();
    }
    const unsigned long ownerCode = volume->owner;
    wrapPkcsLogin(
        [&] {
            pkcsToken_->setVolumeAccessMode(ownerCode, *params.pin, params.volumeId, toPkcs(params.accessMode),
                                            params.permanent ? 1 : 0);
        },
        fromPkcsVolumeOwner(ownerCode), *pkcsToken_);
}

void Token::createLocalPin(LocalUserId id, const SetLocalPinParams& params)
{
    if (flashToken_) {
        throw UnnecessaryLocalPinIdProvidedError();
    }
    if (pkcsToken_->getLocalPinInfo(id.get())) {
        throw LocalPinAlreadyExistsError();
    }
    wrapPkcsLogin([&] { pkcsToken_->createLocalPIN(params.authPin, params.newPin, id.get()); }, UserType::User,
                  *pkcsToken_);
}

// The login stays with the flash token after success; the library ends it with the handle.
LocalUserId Token::createLocalPin(const SetLocalPinParams& params)
{
    if (!flashToken_) {
        throw MissingLocalPinIdError();
    }
    wrapQvflashLogin([&] { flashToken_->login(params.authPin, FlashUserType::User); }, UserType::User);
    const auto logout = logoutOnFailure(*flashToken_);
    return LocalUserId(flashToken_->createLocalPin(params.newPin));
}

void Token::setLocalPin(LocalUserId id, const SetLocalPinParams& params)
{
    if (!flashToken_) {
        if (!pkcsToken_->getLocalPinInfo(id.get())) {
            throw NoSecretError();
        }
        wrapPkcsLogin([&] { pkcsToken_->setLocalPin(params.authPin, params.newPin, id.get()); }, id, *pkcsToken_);
        return;
    }
    checkSecretExistence(*flashToken_, id.get(), QVFLASH_SECRET_LOCAL_PIN);
    wrapQvflashLogin([&] { flashToken_->loginLocal(id.get(), params.authPin); }, id);
    const auto logout = logoutOnFailure(*flashToken_);
    flashToken_->setLocalPin(id.get(), params.newPin);
}

MvaId Token::createMva(const std::string& soPin, const CreateMvaParams& params)
{
    auto& flash = mvaToken();
    wrapQvflashLogin([&] { flash.login(soPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(flash);
    return MvaId(flash.createMva(toQvflash(params)));
}

void Token::clearMva(std::string_view soPin, unsigned short mvaId)
{
    checkMvaExists(mvaId);
    auto& flash = *flashToken_;
    wrapQvflashLogin([&] { flash.login(soPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(flash);
    flash.clearMva(mvaId);
}

void Token::addSnapshotToMva(std::string_view soPin, const AddSnapshotToMvaParams& params)
{
    checkMvaExists(params.mvaId);
    auto& flash = *flashToken_;
    wrapQvflashLogin([&] { flash.login(soPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(flash);
    flash.addSnapshotToMva(params.mvaId, params.snapshot);
}

void Token::checkMvaExists(unsigned short mvaId) const
{
    if (!mvaToken().getMvaList()->contains(mvaId)) {
        throw NoSecretError();
    }
}

quorvik::qvflash::Token& Token::mvaToken() const
{
    if (!flashToken_) {
        throw NoMvaSupportError();
    }
    return *flashToken_;
}
