#include "ModuleFixture.h"

#include <qvtoken-core/FeatureObjects.h>

namespace {

CK_QUORVIK_INIT_PARAM formatParams(const std::string& so, const std::string& user, const std::string& label)
{
    CK_QUORVIK_INIT_PARAM p{};
    p.size = QV_INIT_PARAM_SIZE;
    p.newSoPin = ModuleFixture::pinBytes(so);
    p.newSoPinLen = so.size();
    p.newUserPin = ModuleFixture::pinBytes(user);
    p.newUserPinLen = user.size();
    p.changePolicyFlags = 3;
    p.minSoPinLen = 6;
    p.minUserPinLen = 6;
    p.maxSoRetry = 5;
    p.maxUserRetry = 10;
    p.label = ModuleFixture::pinBytes(label);
    p.labelLen = label.size();
    return p;
}

} // namespace

TEST_F(ModuleFixture, WrongPinsCountDownBlockAndOnlyUnblockingHelps)
{
    auto token = qvtoken::makePreset("full");
    token.userPin.maxTries = token.userPin.triesLeft = 3;
    create(token);
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);

    EXPECT_EQ(login(h, CKU_USER, "00000000"), CKR_PIN_INCORRECT);
    EXPECT_EQ(info(slotA).userRetriesLeft, 2u);
    EXPECT_EQ(login(h, CKU_USER, userPin), CKR_OK); // the right PIN restores the counter
    EXPECT_EQ(info(slotA).userRetriesLeft, 3u);
    EXPECT_EQ(f->C_Logout(h), CKR_OK);
    EXPECT_EQ(f->C_Logout(h), CKR_USER_NOT_LOGGED_IN);

    EXPECT_EQ(login(h, CKU_USER, ""), CKR_PIN_INCORRECT); // empty and out-of-range PINs are wrong PINs
    EXPECT_EQ(login(h, CKU_USER, std::string(40, '4')), CKR_PIN_INCORRECT);
    EXPECT_EQ(f->C_Login(h, CKU_USER, nullptr, 0), CKR_PIN_INCORRECT); // the try that reaches 0
    EXPECT_EQ(info(slotA).userRetriesLeft, 0u);
    EXPECT_EQ(login(h, CKU_USER, userPin), CKR_PIN_LOCKED);
    EXPECT_EQ(login(h, 2, userPin), CKR_USER_TYPE_INVALID);

    ASSERT_EQ(login(h, CKU_SO, adminPin), CKR_OK);
    EXPECT_EQ(x->C_EX_UnblockUserPIN(h), CKR_OK);
    EXPECT_EQ(info(slotA).userRetriesLeft, 3u);
    EXPECT_EQ(f->C_Logout(h), CKR_OK);
    EXPECT_EQ(x->C_EX_UnblockUserPIN(h), CKR_USER_NOT_LOGGED_IN);

    // Volume, drive and local-PIN entries count down the owner's own counter.
    EXPECT_EQ(x->C_EX_ChangeVolumeAttributes(slotA, 3, pinBytes("11111111"), 8, 2, 3, CK_TRUE), CKR_PIN_INCORRECT);
    EXPECT_EQ(x->C_EX_FormatDrive(slotA, CKU_SO, pinBytes("11111111"), 8, nullptr, 0), CKR_PIN_INCORRECT);
    EXPECT_EQ(x->C_EX_SetLocalPIN(slotA, pinBytes("11111111"), 8, pinBytes("22222222"), 8, 3), CKR_PIN_INCORRECT);
    LocalPinInfo local{};
    local.id = 3;
    ASSERT_EQ(x->C_EX_SlotManage(slotA, QV_SLOT_OP_LOCAL_PIN_INFO, &local), CKR_OK);
    EXPECT_EQ(local.retriesLeft, 8u);
    EXPECT_EQ(info(slotA).soRetriesLeft, 9u);
}

TEST_F(ModuleFixture, ClosingTheLastSessionEndsTheLogin)
{
    create("full");
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE first = open(slotA);
    const CK_SESSION_HANDLE second = open(slotA);
    EXPECT_NE(first, 0u);
    ASSERT_EQ(login(first, CKU_SO, adminPin), CKR_OK);
    EXPECT_EQ(login(second, CKU_USER, userPin), CKR_USER_ANOTHER_ALREADY_LOGGED_IN);
    EXPECT_EQ(f->C_CloseSession(first), CKR_OK);
    EXPECT_EQ(f->C_CloseSession(first), CKR_SESSION_HANDLE_INVALID);
    EXPECT_EQ(login(second, CKU_SO, adminPin), CKR_USER_ALREADY_LOGGED_IN); // still one session open
    EXPECT_EQ(f->C_CloseSession(second), CKR_OK);
    const CK_SESSION_HANDLE third = open(slotA);
    EXPECT_EQ(login(third, CKU_USER, userPin), CKR_OK);
    CK_SESSION_HANDLE h = 0;
    EXPECT_EQ(f->C_OpenSession(slotA, CKF_RW_SESSION, nullptr, nullptr, &h), CKR_SESSION_PARALLEL_NOT_SUPPORTED);
}

TEST_F(ModuleFixture, ReadOnlySessionsRefuseWritesAndTheAdminLogin)
{
    create("full");
    ASSERT_EQ(initialize(), CKR_OK);
    CK_SESSION_HANDLE readOnly = 0;
    ASSERT_EQ(f->C_OpenSession(slotA, CKF_SERIAL_SESSION, nullptr, nullptr, &readOnly), CKR_OK);
    EXPECT_EQ(login(readOnly, CKU_SO, adminPin), CKR_SESSION_READ_ONLY_EXISTS);
    const CK_SESSION_HANDLE writable = open(slotA);
    EXPECT_EQ(login(writable, CKU_SO, adminPin), CKR_SESSION_READ_ONLY_EXISTS);
    ASSERT_EQ(login(readOnly, CKU_USER, userPin), CKR_OK);
    const std::string label = "Read only";
    EXPECT_EQ(x->C_EX_SetTokenName(readOnly, pinBytes(label), label.size()), CKR_SESSION_READ_ONLY);
    EXPECT_EQ(f->C_SetPIN(readOnly, pinBytes(userPin), 8, pinBytes("12345678"), 8), CKR_SESSION_READ_ONLY);
    EXPECT_EQ(x->C_EX_SetTokenName(writable, pinBytes(label), label.size()), CKR_OK);
    ASSERT_EQ(f->C_Logout(writable), CKR_OK);
    ASSERT_EQ(f->C_CloseSession(readOnly), CKR_OK);
    EXPECT_EQ(login(writable, CKU_SO, adminPin), CKR_OK);
}

TEST_F(ModuleFixture, NewUserPinsAreCheckedForLengthPolicyHistoryAndChangeRights)
{
    auto token = qvtoken::makePreset("full");
    qvtoken::PinPolicyValues policy;
    policy.minLength = 8;
    policy.historyDepth = 2;
    policy.digitRequired = true;
    policy.defaultPinAllowed = false;
    policy.diffCharsRequired = true;
    token.objects[0] = qvtoken::pinPolicyObject(policy);
    create(token);
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);
    ASSERT_EQ(login(h, CKU_USER, userPin), CKR_OK);
    auto setPin = [&](const std::string& pin) { return f->C_SetPIN(h, nullptr, 0, pinBytes(pin), pin.size()); };

    EXPECT_EQ(setPin("12345"), CKR_PIN_LEN_RANGE);
    EXPECT_EQ(setPin(std::string(33, '1')), CKR_PIN_LEN_RANGE);
    EXPECT_EQ(setPin("1234567"), CKR_INAPPROPRIATE_PIN); // only the policy's minimum is missed
    EXPECT_EQ(setPin("abcdefgh"), CKR_INAPPROPRIATE_PIN);
    EXPECT_EQ(setPin("11111111"), CKR_INAPPROPRIATE_PIN);
    EXPECT_EQ(setPin(userPin), CKR_INAPPROPRIATE_PIN); // the default PIN
    EXPECT_EQ(setPin("12345678"), CKR_OK);
    EXPECT_EQ(setPin("12345678"), CKR_PIN_IN_HISTORY);
    EXPECT_EQ(setPin("23456789"), CKR_OK);
    EXPECT_EQ(setPin("12345678"), CKR_PIN_IN_HISTORY);
    EXPECT_EQ(setPin("34567890"), CKR_OK);
    EXPECT_EQ(setPin("45678901"), CKR_OK);
    EXPECT_EQ(setPin("12345678"), CKR_OK); // out of the history's depth again
    EXPECT_EQ(f->C_SetPIN(h, pinBytes("wrongpin"), 8, pinBytes("56789012"), 8), CKR_PIN_INCORRECT);

    // This token lets only the user change the user PIN; the admin may change his own.
    EXPECT_EQ(f->C_Logout(h), CKR_OK);
    ASSERT_EQ(login(h, CKU_SO, adminPin), CKR_OK);
    EXPECT_EQ(f->C_InitPIN(h, pinBytes("56789012"), 8), CKR_ACTION_PROHIBITED);
    EXPECT_EQ(setPin("123"), CKR_PIN_LEN_RANGE);
    EXPECT_EQ(setPin("87654321"), CKR_OK);
    EXPECT_EQ(store().load(1234567890)->adminPin.value, qvtoken::bytesOf("87654321"));
}

TEST_F(ModuleFixture, FormatResetsPinsAndPolicyButKeepsTheDrive)
{
    auto token = qvtoken::makePreset("full");
    token.objects[0] = qvtoken::pinPolicyObject({true, true, 9, 3, true, true, false, false, false, false});
    token.drive.temporaryStates = {{1, 0}};
    token.label = "Changed";
    token.userPinToBeChanged = true;
    create(token);
    ASSERT_EQ(initialize(), CKR_OK);

    // The record points into these strings; they must outlive it.
    const std::string newAdmin = "11223344";
    const std::string newUser = "55667788";
    const std::string noLabel;
    auto p = formatParams(newAdmin, newUser, noLabel);
    EXPECT_EQ(x->C_EX_InitToken(slotA, pinBytes("00000000"), 8, &p), CKR_PIN_INCORRECT);
    p.size = 100;
    EXPECT_EQ(x->C_EX_InitToken(slotA, pinBytes(adminPin), 8, &p), CKR_ARGUMENTS_BAD);
    p.size = QV_INIT_PARAM_SIZE;
    p.changePolicyFlags = 4;
    EXPECT_EQ(x->C_EX_InitToken(slotA, pinBytes(adminPin), 8, &p), CKR_ARGUMENTS_BAD);
    p.changePolicyFlags = 3;
    p.minUserPinLen = 10;
    EXPECT_EQ(x->C_EX_InitToken(slotA, pinBytes(adminPin), 8, &p), CKR_PIN_LEN_RANGE);
    p.minUserPinLen = 6;
    EXPECT_EQ(store().load(1234567890)->label, "Changed"); // refusals change nothing
    p.repair = 1;
    EXPECT_EQ(x->C_EX_InitToken(slotA, nullptr, 0, &p), CKR_FUNCTION_FAILED); // admin PIN not blocked
    p.repair = 0;
    const CK_SESSION_HANDLE h = open(slotA);
    EXPECT_EQ(x->C_EX_InitToken(slotA, pinBytes(adminPin), 8, &p), CKR_SESSION_EXISTS);
    ASSERT_EQ(f->C_CloseSession(h), CKR_OK);
    ASSERT_EQ(x->C_EX_InitToken(slotA, pinBytes(adminPin), 8, &p), CKR_OK);

    const auto after = *store().load(1234567890);
    EXPECT_EQ(after.adminPin.value, qvtoken::bytesOf("11223344"));
    EXPECT_EQ(after.adminPin.maxTries, 5u);
    EXPECT_EQ(after.adminPin.triesLeft, 5u);
    EXPECT_EQ(after.userPin.value, qvtoken::bytesOf("55667788"));
    EXPECT_EQ(after.pinChangeFlags, 3u);
    EXPECT_EQ(after.label, "Stand-in A"); // empty label: the default
    EXPECT_FALSE(after.userPinToBeChanged);
    EXPECT_EQ(after.findLocalPin(3), nullptr);
    EXPECT_EQ(after.drive.sections.size(), 3u);
    EXPECT_TRUE(after.drive.temporaryStates.empty());
    EXPECT_EQ(after.objects[0].find(qvtoken::feature::minLength)->value, qvtoken::byteValue(6));
    EXPECT_EQ(after.objects.size(), 3u); // touch kept

    // Repair: once the admin PIN is blocked, formatting needs no PIN.
    const CK_SESSION_HANDLE s = open(slotA);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(login(s, CKU_SO, "00000000"), CKR_PIN_INCORRECT);
    EXPECT_EQ(login(s, CKU_SO, "11223344"), CKR_PIN_LOCKED);
    ASSERT_EQ(f->C_CloseSession(s), CKR_OK);
    p.repair = 1;
    EXPECT_EQ(x->C_EX_InitToken(slotA, nullptr, 0, &p), CKR_OK);
    EXPECT_EQ(info(slotA).soRetriesLeft, 5u);
}

TEST_F(ModuleFixture, ForcedChangeAndLabelNeedTheirLogins)
{
    create("full");
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);
    CK_ULONG user = CKU_USER;
    CK_ULONG so = CKU_SO;
    EXPECT_EQ(x->C_EX_TokenManage(h, QV_TOKEN_OP_FORCE_PIN_CHANGE, &user), CKR_USER_NOT_LOGGED_IN);
    EXPECT_EQ(x->C_EX_SetTokenName(h, pinBytes("x"), 1), CKR_USER_NOT_LOGGED_IN);
    ASSERT_EQ(login(h, CKU_SO, adminPin), CKR_OK);
    EXPECT_EQ(x->C_EX_TokenManage(h, 7, &user), CKR_FUNCTION_NOT_SUPPORTED);
    EXPECT_EQ(x->C_EX_TokenManage(h, QV_TOKEN_OP_FORCE_PIN_CHANGE, &so), CKR_USER_TYPE_INVALID);
    EXPECT_EQ(x->C_EX_TokenManage(h, QV_TOKEN_OP_FORCE_PIN_CHANGE, &user), CKR_OK);
    CK_TOKEN_INFO standard;
    ASSERT_EQ(f->C_GetTokenInfo(slotA, &standard), CKR_OK);
    EXPECT_TRUE(standard.flags & 0x80000); // user PIN to be changed
    EXPECT_EQ(x->C_EX_SetTokenName(h, pinBytes(std::string(33, 'x')), 33), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(x->C_EX_SetTokenName(h, nullptr, 0), CKR_OK);

    CK_ULONG length = 5;
    EXPECT_EQ(x->C_EX_GetTokenName(h, nullptr, &length), CKR_OK);
    EXPECT_EQ(length, 0u);
    CK_UTF8CHAR none[1];
    EXPECT_EQ(x->C_EX_GetTokenName(h, none, &length), CKR_OK);
}
