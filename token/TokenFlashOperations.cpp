// The operations on the token's flash drive and its local secrets (local PINs and MVA objects).
#include "token/Token.h"

#include "cli/DomainError.h"
#include "cli/runSignals.h"
#include "flash/getPcSnapshot.h"
#include "token/addLogPcInfo.h"
#include "token/checkSecretExistence.h"
#include "token/logoutGuards.h"
#include "token/pkcsConversions.h"
#include "token/qvflashConversions.h"
#include "token/types/checkOwnersCombination.h"
#include "token/wrapPinChange.h"
#include "token/wrapPkcsLogin.h"
#include "token/wrapQvflashLogin.h"
#include "token/wrapRestartingChange.h"

#include <algorithm>
#include <limits>

using FlashUserType = quorvik::qvflash::UserType;

namespace {

bool hasDrive(const CK_TOKEN_INFO_EXTENDED& ext)
{
    return (ext.flags & QV_TOKEN_FLAG_HAS_FLASH_DRIVE) != 0;
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
        // Once the run is ending no snapshot starts here; one that started just before ends
        // with the process.
        if (run_signals::endingAtOnce()) {
            throw RunEndedError();
        }
        flash.loginMva(mva->get(), getPcSnapshot());
    }
}

} // namespace

PinLengths Token::getLocalPinLengths(const LocalUserId& id) const
{
    const auto local = pkcsToken_->getLocalPinInfo(id.get());
    if (!local) {
        throw NoSecretError();
    }
    return {local->minPinLen, local->maxPinLen};
}

std::optional<TokenDriveInfo> Token::getDriveInfo() const
{
    TokenDriveInfo drive;
    if (auto* const flash = flashToken()) {
        const auto sections = flash->getTokenVolumeInfo();
        for (auto section = sections->cbegin(); section != sections->cend(); ++section) {
            drive.volumes.push_back(TokenVolumeInfo{section->id, section->size, fromQvflash(section->accessState),
                                                    fromQvflashVolumeOwners(*section), fromQvflash(section->type)});
        }
        drive.totalSize = flash->getDriveSize();
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

void Token::formatDrive(const FormatDriveParams& params)
{
    auto* const flash = flashToken();
    if (!flash) {
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
                checkSecretExistence(*flash, local->get(), QVFLASH_SECRET_LOCAL_PIN);
            } else if (const auto* mva = std::get_if<MvaId>(&owner.value())) {
                checkSecretExistence(*flash, mva->get(), QVFLASH_SECRET_MVA);
            }
        }
        sections.push_back(toQvflash(volume));
    }
    wrapQvflashLogin([&] { flash->login(params.authPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(*flash);
    wrapRestartingChange([&] { flash->splitIntoSections(sections); }, "the new volume layout");
}

void Token::setVolumeAccessMode(const SetVolumeAccessModeParams& params)
{
    if (auto* const flash = flashToken()) {
        setVolumeAccessModeByFlash(*flash, params);
    } else {
        setVolumeAccessModeByPkcs(params);
    }
}

// Every owner logs in; the journal records the host whether the logins pass or not.
void Token::setVolumeAccessModeByFlash(quorvik::qvflash::Token& flash, const SetVolumeAccessModeParams& params)
{
    // Section ids are one byte: a larger id must not select the section of its low byte.
    if (params.volumeId > std::numeric_limits<std::uint8_t>::max()) {
        throw NoVolumeError();
    }
    const auto id = static_cast<std::uint8_t>(params.volumeId);
    const auto sections = flash.getTokenVolumeInfo();
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
    const auto logout = logoutOnExit(flash);
    try {
        for (const auto& owner : owners) {
            wrapQvflashLogin([&] { loginOwner(flash, owner, params.pin); }, owner);
        }
    } catch (...) {
        addLogPcInfo(flash);
        throw;
    }
    wrapRestartingChange([&] { flash.changeSectionAccessRights(id, toQvflash(params.accessMode), params.permanent); },
                         "the new access mode");
    addLogPcInfo(flash);
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
    if (flashToken()) {
        throw UnnecessaryLocalPinIdProvidedError();
    }
    if (pkcsToken_->getLocalPinInfo(id.get())) {
        throw LocalPinAlreadyExistsError();
    }
    // The login and the change are one call: a refused login is named first.
    wrapPinChange([&] {
        wrapPkcsLogin([&] { pkcsToken_->createLocalPIN(params.authPin, params.newPin, id.get()); }, UserType::User,
                      *pkcsToken_);
    });
}

// The login stays with the flash token after success; the library ends it with the handle.
LocalUserId Token::createLocalPin(const SetLocalPinParams& params)
{
    auto* const flash = flashToken();
    if (!flash) {
        throw MissingLocalPinIdError();
    }
    wrapQvflashLogin([&] { flash->login(params.authPin, FlashUserType::User); }, UserType::User);
    const auto logout = logoutOnFailure(*flash);
    std::uint16_t id = 0;
    wrapPinChange([&] { id = flash->createLocalPin(params.newPin); });
    return LocalUserId(id);
}

void Token::setLocalPin(LocalUserId id, const SetLocalPinParams& params)
{
    auto* const flash = flashToken();
    if (!flash) {
        if (!pkcsToken_->getLocalPinInfo(id.get())) {
            throw NoSecretError();
        }
        wrapPinChange([&] {
            wrapPkcsLogin([&] { pkcsToken_->setLocalPin(params.authPin, params.newPin, id.get()); }, id, *pkcsToken_);
        });
        return;
    }
    checkSecretExistence(*flash, id.get(), QVFLASH_SECRET_LOCAL_PIN);
    wrapQvflashLogin([&] { flash->loginLocal(id.get(), params.authPin); }, id);
    const auto logout = logoutOnFailure(*flash);
    wrapPinChange([&] { flash->setLocalPin(id.get(), params.newPin); });
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
    auto& flash = mvaToken();
    wrapQvflashLogin([&] { flash.login(soPin, FlashUserType::Admin); }, UserType::So);
    const auto logout = logoutOnExit(flash);
    flash.clearMva(mvaId);
}

void Token::addSnapshotToMva(std::string_view soPin, const AddSnapshotToMvaParams& params)
{
    checkMvaExists(params.mvaId);
    auto& flash = mvaToken();
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
    auto* const flash = flashToken();
    if (!flash) {
        throw NoMvaSupportError();
    }
    return *flash;
}
