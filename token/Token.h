#pragma once

#include "flash/Token.h"
#include "pkcs11/Token.h"
#include "token/AddSnapshotToMvaParams.h"
#include "token/CreateMvaParams.h"
#include "token/FlashBackEnd.h"
#include "token/FlashTokenList.h"
#include "token/FormatDriveParams.h"
#include "token/FormatTokenParams.h"
#include "token/SetLocalPinParams.h"
#include "token/SetSoPinParams.h"
#include "token/SetUserPinParams.h"
#include "token/SetVolumeAccessModeParams.h"
#include "token/TokenDriveInfo.h"
#include "token/TokenInfo.h"
#include "token/TouchSettings.h"
#include "token/types/LocalUserId.h"
#include "token/types/MvaId.h"
#include "token/types/PinLengths.h"
#include "token/types/PinPolicy.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// One plugged token as the tool sees it: its PKCS#11 token and, when the flash library supports
// it, its flash token. An operation with two roads takes the flash road exactly when the flash
// token is there; whether it is is asked of the flash library when an operation first needs to
// know, so operations with one road never touch it. Every operation opens and ends its own
// session and login, and throws on failure. Copies share the same tokens.
class Token {
public:
    // `flashTokens` is the flash token list of the enumeration that found the token.
    Token(std::shared_ptr<quorvik::pkcs11::Token> pkcsToken, std::shared_ptr<FlashTokenList> flashTokens);

    std::uint64_t getSerialNumber() const;
    // The module's slot that holds the token; known also when the token is gone.
    unsigned long getSlotId() const;
    TokenInfo getInfo() const;
    PinLengths getSoPinLengths() const;
    // The minimum is the token's, or the policy's when that is stricter.
    PinLengths getUserPinLengths() const;
    PinLengths getLocalPinLengths(const LocalUserId& id) const;
    // Throws NoPinPolicyError without a policy object; empty when the object lacks an attribute.
    std::optional<PinPolicy> getUserPinPolicy() const;
    // Empty without a touch interface.
    std::optional<TouchSettings> getTouchSettings() const;
    // Empty for a token without flash memory.
    std::optional<TokenDriveInfo> getDriveInfo() const;

    void format(const FormatTokenParams& params);
    void setSoPin(const SetSoPinParams& params);
    void setUserPin(const SetUserPinParams& params);
    void enableForcedPinChangeMode(const std::string& soPin);
    // On the flash road the user PIN, every MVA and every local PIN; otherwise the user PIN, and a
    // local PIN the module still reports blocked fails the token.
    void unblockPins(const std::string& soPin);
    void setLabel(const std::string& userPin, const std::string& label);
    void setUserPinPolicy(const std::string& soPin, const PinPolicy& policy);
    void setTouchSettings(const std::string& soPin, const TouchSettings& settings);

    void formatDrive(const FormatDriveParams& params);
    void setVolumeAccessMode(const SetVolumeAccessModeParams& params);
    // The module's way: the caller names the new local PIN.
    void createLocalPin(LocalUserId id, const SetLocalPinParams& params);
    // The flash library's way: the token names it.
    LocalUserId createLocalPin(const SetLocalPinParams& params);
    void setLocalPin(LocalUserId id, const SetLocalPinParams& params);
    MvaId createMva(const std::string& soPin, const CreateMvaParams& params);
    void clearMva(std::string_view soPin, unsigned short mvaId);
    void addSnapshotToMva(std::string_view soPin, const AddSnapshotToMvaParams& params);

private:
    void formatRepairing(const CK_QUORVIK_INIT_PARAM& block, std::uint64_t pinLength, std::uint64_t maxSoRetryCount);
    void setVolumeAccessModeByFlash(quorvik::qvflash::Token& flash, const SetVolumeAccessModeParams& params);
    void setVolumeAccessModeByPkcs(const SetVolumeAccessModeParams& params);
    void checkMvaExists(unsigned short mvaId) const;
    // The flash token, or NoMvaSupportError.
    quorvik::qvflash::Token& mvaToken() const;
    // The flash token, opened on the first call; null when the token has no flash back end.
    quorvik::qvflash::Token* flashToken() const { return flash_->get(); }

    std::shared_ptr<quorvik::pkcs11::Token> pkcsToken_;
    std::shared_ptr<FlashBackEnd> flash_;
};
