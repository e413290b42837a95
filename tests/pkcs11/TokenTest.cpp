#include "VirtualTokens.h"

#include "pkcs11/Pkcs11.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <qvtoken-core/TokenPresets.h>

#include <cstring>

namespace quorvik::pkcs11 {
namespace {

class TokenTest : public VirtualTokens {
protected:
    // The one token of a module built over the tokens prepared so far.
    std::shared_ptr<Token> onlyToken()
    {
        module_ = std::make_unique<Pkcs11>(nullptr);
        const auto slots = module_->getSlotList(true);
        EXPECT_EQ(slots.size(), 1u);
        return slots.at(0)->token();
    }

private:
    std::unique_ptr<Pkcs11> module_;
};

TEST_F(TokenTest, SerialNumberIsReadOnceMostSignificantByteFirst)
{
    addToken("full", 258, 1);
    const auto token = onlyToken();
    EXPECT_EQ(token->serialNumber(), 258u);
    EXPECT_EQ(token->serialNumber(), 258u);
    EXPECT_EQ(calls("C_EX_GetTokenInfoExtended"), 1);
    const auto info = token->getTokenInfoEx();
    EXPECT_EQ(info.serial[6], 1);
    EXPECT_EQ(info.serial[7], 2);
}

TEST_F(TokenTest, TokenReportedMissingStaysAbsent)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_OpenSession", CKR_TOKEN_NOT_PRESENT);
    const auto token = onlyToken();
    EXPECT_EQ(token->serialNumber(), 11u);

    try {
        token->openSession(CKF_RW_SESSION);
        FAIL();
    } catch (const TokenNotPresentException& error) {
        EXPECT_STREQ(error.what(), "PKCS11: CKR_TOKEN_NOT_PRESENT");
    }
    EXPECT_THROW(token->serialNumber(), TokenNotPresentException);
    EXPECT_THROW(token->openSession(CKF_RW_SESSION), TokenNotPresentException);
    EXPECT_EQ(calls("C_OpenSession"), 1);
    // Operations that do not open a session still reach the module.
    EXPECT_EQ(token->getDriveSize(), 1024u);
}

TEST_F(TokenTest, RemovedDeviceDoesNotMarkTheTokenAbsent)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_OpenSession", CKR_DEVICE_REMOVED);
    const auto token = onlyToken();
    EXPECT_THROW(token->openSession(CKF_RW_SESSION), DeviceRemovedException);
    EXPECT_NO_THROW(token->openSession(CKF_RW_SESSION));
    EXPECT_EQ(token->serialNumber(), 11u);
}

TEST_F(TokenTest, InformationRecords)
{
    addToken("full", 11, 1);
    const auto token = onlyToken();

    const CK_TOKEN_INFO info = token->getTokenInfo();
    EXPECT_EQ(info.hardwareVersion.major, 1);
    EXPECT_EQ(info.firmwareVersion.major, 28);
    EXPECT_EQ(info.firmwareVersion.minor, 5);

    const CK_TOKEN_INFO_EXTENDED extended = token->getTokenInfoEx();
    EXPECT_EQ(extended.maxUserRetry, 10u);
    EXPECT_EQ(extended.userRetriesLeft, 10u);
    EXPECT_EQ(extended.tokenClass, QV_TOKEN_CLASS_ZRN);
    EXPECT_NE(extended.flags & QV_TOKEN_FLAG_HAS_FLASH_DRIVE, 0u);

    const auto volumes = token->getTokenVolumeInfoEx();
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].id, 1u);
    EXPECT_EQ(volumes[0].sizeMb, 512u);
    EXPECT_EQ(volumes[1].accessMode, QV_ACCESS_READ_ONLY);
    EXPECT_EQ(volumes[1].owner, 3u);
    EXPECT_EQ(token->getDriveSize(), 1024u);
}

TEST_F(TokenTest, DriveWithoutVolumes)
{
    addToken("full", 11, 1, [](qvtoken::TokenState& token) { token.drive.sections.clear(); });
    const auto token = onlyToken();
    EXPECT_TRUE(token->getTokenVolumeInfoEx().empty());
    EXPECT_EQ(calls("C_EX_GetVolumesInfo"), 2);
}

TEST_F(TokenTest, LocalPinInformation)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_EX_SlotManage", CKR_PIN_INCORRECT, 2);
    const auto token = onlyToken();
    const auto known = token->getLocalPinInfo(3);
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(known->id, 3u);
    EXPECT_EQ(known->retriesLeft, 10u);
    EXPECT_FALSE(token->getLocalPinInfo(4).has_value());
    EXPECT_THROW(token->getLocalPinInfo(3), PinIncorrectException);
}

TEST_F(TokenTest, TlsQuery)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_EX_SlotManage", CKR_DEVICE_ERROR, 3);
    const auto token = onlyToken();
    EXPECT_FALSE(token->isTlsToken());
    modify(serial, [](qvtoken::TokenState& state) { state.tls = true; });
    EXPECT_TRUE(token->isTlsToken());
    modify(serial, [](qvtoken::TokenState& state) { state.switches.noTlsQuery = true; });
    EXPECT_FALSE(token->isTlsToken());
    EXPECT_THROW(token->isTlsToken(), DeviceErrorException);
}

TEST_F(TokenTest, FormatChecksTheAdminPin)
{
    addToken("full", 11, 1);
    const auto token = onlyToken();

    std::string soPin = "87654321";
    std::string userPin = "11223344";
    std::string label = "Formatted";
    CK_QUORVIK_INIT_PARAM param{};
    param.size = QV_INIT_PARAM_SIZE;
    param.newSoPin = reinterpret_cast<CK_UTF8CHAR*>(soPin.data());
    param.newSoPinLen = soPin.size();
    param.newUserPin = reinterpret_cast<CK_UTF8CHAR*>(userPin.data());
    param.newUserPinLen = userPin.size();
    param.changePolicyFlags = QV_TOKEN_FLAG_USER_CHANGES_USER_PIN;
    param.minSoPinLen = 6;
    param.minUserPinLen = 6;
    param.maxSoRetry = 10;
    param.maxUserRetry = 10;
    param.label = reinterpret_cast<CK_UTF8CHAR*>(label.data());
    param.labelLen = label.size();

    EXPECT_THROW(token->formatToken("00000000", &param), PinIncorrectException);
    EXPECT_EQ(token->getTokenInfoEx().soRetriesLeft, 9u);

    token->formatToken(qvtoken::defaultAdminPin, &param);
    EXPECT_EQ(token->getTokenInfoEx().soRetriesLeft, 10u);
    auto session = token->openSession(CKF_RW_SESSION);
    EXPECT_EQ(session.getLabelEx(), "Formatted");
    EXPECT_NO_THROW(session.login(userPin, UserType::User));
}

TEST_F(TokenTest, VolumesAndLocalPins)
{
    const auto serial = addToken("full", 11, 1);
    const auto token = onlyToken();

    token->setVolumeAccessMode(QV_OWNER_USER, qvtoken::defaultUserPin, 1, QV_ACCESS_READ_ONLY, 1);
    EXPECT_EQ(token->getTokenVolumeInfoEx()[0].accessMode, QV_ACCESS_READ_ONLY);
    EXPECT_THROW(token->setVolumeAccessMode(QV_OWNER_USER, "wrong-pin", 1, QV_ACCESS_HIDDEN, 1), PinIncorrectException);

    std::vector<CK_VOLUME_FORMAT_INFO_EXTENDED> layout = {{600, QV_ACCESS_READ_WRITE, QV_OWNER_USER, 0},
                                                          {400, QV_ACCESS_CD_ROM, QV_OWNER_ADMIN, 0}};
    token->formatDrive(qvtoken::defaultAdminPin, layout);
    const auto volumes = token->getTokenVolumeInfoEx();
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[1].sizeMb, 400u);
    EXPECT_EQ(volumes[1].accessMode, QV_ACCESS_CD_ROM);

    token->createLocalPIN(qvtoken::defaultUserPin, "24681357", 4);
    EXPECT_TRUE(token->getLocalPinInfo(4).has_value());
    token->setLocalPin("24681357", "99887766", 4);
    EXPECT_THROW(token->setLocalPin("24681357", "12121212", 4), PinIncorrectException);
    EXPECT_EQ(token->getLocalPinInfo(4)->retriesLeft, load(serial).findLocalPin(4)->pin.triesLeft);
}

} // namespace
} // namespace quorvik::pkcs11
