#include "ModuleFixture.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/SectionOwners.h>

#include <vector>

namespace {

struct FeatureSearch {
    CK_ULONG cls = CKO_HW_FEATURE;
    CK_ULONG type;
    CK_ULONG user = CKU_USER;
    std::vector<CK_ATTRIBUTE> templ;

    explicit FeatureSearch(CK_ULONG featureType, bool withUser = false) : type(featureType)
    {
        templ = {{CKA_CLASS, &cls, sizeof cls}, {0x300, &type, sizeof type}};
        if (withUser)
            templ.push_back({0x8000320B, &user, sizeof user});
    }
};

std::vector<CK_ULONG> batches(CK_FUNCTION_LIST_PTR f, CK_SESSION_HANDLE h, FeatureSearch& search,
                              std::vector<CK_OBJECT_HANDLE>& found)
{
    std::vector<CK_ULONG> sizes;
    EXPECT_EQ(f->C_FindObjectsInit(h, search.templ.data(), search.templ.size()), CKR_OK);
    CK_OBJECT_HANDLE batch[32];
    CK_ULONG n = 0;
    do {
        EXPECT_EQ(f->C_FindObjects(h, batch, 32, &n), CKR_OK);
        sizes.push_back(n);
        found.insert(found.end(), batch, batch + n);
    } while (n != 0);
    EXPECT_EQ(f->C_FindObjectsFinal(h), CKR_OK);
    return sizes;
}

} // namespace

TEST_F(ModuleFixture, SearchesMatchWholeTemplatesAndComeInBatches)
{
    auto token = qvtoken::makePreset("full");
    for (int i = 0; i < 70; ++i)
        token.objects.push_back(qvtoken::tokenInfoObject("model " + std::to_string(i)));
    create(token);
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);

    FeatureSearch names(CKH_QV_TOKEN_INFO);
    std::vector<CK_OBJECT_HANDLE> found;
    EXPECT_EQ(batches(f, h, names, found), (std::vector<CK_ULONG>{32, 32, 6, 0}));
    FeatureSearch policy(CKH_QV_PIN_POLICY, true);
    found.clear();
    batches(f, h, policy, found);
    ASSERT_EQ(found.size(), 1u); // the admin's policy object does not match the user's template

    EXPECT_EQ(f->C_FindObjectsFinal(h), CKR_OPERATION_NOT_INITIALIZED);
    CK_ULONG n = 0;
    EXPECT_EQ(f->C_FindObjects(h, nullptr, 0, &n), CKR_OPERATION_NOT_INITIALIZED);
    ASSERT_EQ(f->C_FindObjectsInit(h, policy.templ.data(), policy.templ.size()), CKR_OK);
    EXPECT_EQ(f->C_FindObjectsInit(h, policy.templ.data(), policy.templ.size()), CKR_OPERATION_ACTIVE);
}

TEST_F(ModuleFixture, AttributesAreSizedThenReadAndMissingOnesAreMarked)
{
    create("policy-gap");
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SLOT_ID slot = 7;
    const CK_SESSION_HANDLE h = open(slot);
    FeatureSearch policy(CKH_QV_PIN_POLICY, true);
    std::vector<CK_OBJECT_HANDLE> found;
    batches(f, h, policy, found);
    ASSERT_EQ(found.size(), 1u);

    CK_ATTRIBUTE sizing[] = {{0x170, nullptr, 0}, {0x80003209, nullptr, 0}, {0x80003203, nullptr, 0}};
    EXPECT_EQ(f->C_GetAttributeValue(h, found[0], sizing, 3), CKR_ATTRIBUTE_TYPE_INVALID);
    EXPECT_EQ(sizing[0].ulValueLen, 1u);
    EXPECT_EQ(sizing[1].ulValueLen, CK_UNAVAILABLE_INFORMATION);
    EXPECT_EQ(sizing[2].ulValueLen, 1u);

    CK_BBOOL modifiable = 9;
    CK_BYTE minLength = 0;
    CK_ATTRIBUTE reading[] = {{0x170, &modifiable, 1}, {0x80003203, &minLength, 1}};
    EXPECT_EQ(f->C_GetAttributeValue(h, found[0], reading, 2), CKR_OK);
    EXPECT_EQ(modifiable, CK_TRUE);
    EXPECT_EQ(minLength, 6);
    CK_ATTRIBUTE shortBuffer = {0x8000320B, &minLength, 1};
    EXPECT_EQ(f->C_GetAttributeValue(h, found[0], &shortBuffer, 1), CKR_BUFFER_TOO_SMALL);
    EXPECT_EQ(f->C_GetAttributeValue(h, 99, reading, 2), CKR_OBJECT_HANDLE_INVALID);
}

TEST_F(ModuleFixture, AttributeWritesNeedTheAdminAndAreAllOrNothing)
{
    create("full");
    ASSERT_EQ(initialize(), CKR_OK);
    const CK_SESSION_HANDLE h = open(slotA);
    FeatureSearch touch(CKH_QV_TOUCH_INTERFACE);
    std::vector<CK_OBJECT_HANDLE> found;
    batches(f, h, touch, found);
    ASSERT_EQ(found.size(), 1u);

    CK_ULONG mode = 1;
    CK_ULONG limit = 3601;
    CK_ATTRIBUTE write[] = {{0x80003400, &mode, sizeof mode}, {0x80003401, &limit, sizeof limit}};
    EXPECT_EQ(f->C_SetAttributeValue(h, found[0], write, 2), CKR_USER_NOT_LOGGED_IN);
    ASSERT_EQ(login(h, CKU_SO, adminPin), CKR_OK);
    EXPECT_EQ(f->C_SetAttributeValue(h, found[0], write, 2), CKR_ATTRIBUTE_VALUE_INVALID);
    CK_ULONG cls = 5;
    CK_ATTRIBUTE identity = {CKA_CLASS, &cls, sizeof cls};
    EXPECT_EQ(f->C_SetAttributeValue(h, found[0], &identity, 1), CKR_ATTRIBUTE_READ_ONLY);
    CK_BBOOL flag = 1;
    CK_ATTRIBUTE foreign = {0x80003201, &flag, 1};
    EXPECT_EQ(f->C_SetAttributeValue(h, found[0], &foreign, 1), CKR_ATTRIBUTE_TYPE_INVALID);
    EXPECT_EQ(qvtoken::ulongOf(*store().load(1234567890)->objects[1].find(0x80003400)), 0u); // nothing written

    limit = 20;
    EXPECT_EQ(f->C_SetAttributeValue(h, found[0], write, 2), CKR_OK);
    const auto after = store().load(1234567890)->objects[1];
    EXPECT_EQ(qvtoken::ulongOf(*after.find(0x80003400)), 1u);
    EXPECT_EQ(qvtoken::ulongOf(*after.find(0x80003401)), 20u);
}

TEST_F(ModuleFixture, VolumesAreListedChangedAndReformatted)
{
    auto token = qvtoken::makePreset("full");
    token.switches.refusedTemporaryModes = {QV_ACCESS_CD_ROM};
    create(token);
    auto empty = qvtoken::makePreset("no-flash");
    empty.drive.present = true;
    empty.drive.sizeMb = 64;
    create(empty);
    ASSERT_EQ(initialize(), CKR_OK);

    CK_ULONG n = 7;
    EXPECT_EQ(x->C_EX_GetVolumesInfo(2, nullptr, &n), CKR_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(x->C_EX_GetVolumesInfo(2, nullptr, &n), CKR_OK);
    CK_VOLUME_INFO_EXTENDED list[3];
    n = 2;
    EXPECT_EQ(x->C_EX_GetVolumesInfo(slotA, list, &n), CKR_BUFFER_TOO_SMALL);
    EXPECT_EQ(n, 3u);
    ASSERT_EQ(x->C_EX_GetVolumesInfo(slotA, list, &n), CKR_OK);
    EXPECT_EQ(list[1].owner, 3u);
    EXPECT_EQ(list[1].sizeMb, 256u);
    CK_ULONG size = 0;
    EXPECT_EQ(x->C_EX_GetDriveSize(slotA, &size), CKR_OK);
    EXPECT_EQ(size, 1024u);

    const std::string localPin = "13572468";
    auto change = [&](CK_ULONG owner, const std::string& pin, CK_ULONG volume, CK_ULONG mode, CK_BBOOL permanent) {
        return x->C_EX_ChangeVolumeAttributes(slotA, owner, pinBytes(pin), pin.size(), volume, mode, permanent);
    };
    EXPECT_EQ(change(1, userPin, 9, 1, CK_TRUE), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(change(1, userPin, 2, 1, CK_TRUE), CKR_USER_TYPE_INVALID);
    EXPECT_EQ(change(3, localPin, 2, 2, CK_TRUE), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(change(3, localPin, 2, QV_ACCESS_CD_ROM, CK_FALSE), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(change(3, localPin, 2, QV_ACCESS_CD_ROM, CK_TRUE), CKR_OK);
    EXPECT_EQ(store().load(1234567890)->drive.sections[1].access, QV_ACCESS_CD_ROM);

    std::vector<CK_VOLUME_FORMAT_INFO_EXTENDED> layout = {{600, 3, 1, 0}, {500, 1, 0, 0}};
    auto format = [&] {
        return x->C_EX_FormatDrive(slotA, CKU_SO, pinBytes(adminPin), 8, layout.data(), layout.size());
    };
    EXPECT_EQ(format(), CKR_DEVICE_MEMORY);
    layout[1] = {400, 2, 0, 0};
    EXPECT_EQ(format(), CKR_ARGUMENTS_BAD);
    layout[1] = {400, 1, 9, 0};
    EXPECT_EQ(format(), CKR_ARGUMENTS_BAD); // no local PIN 9
    layout[1] = {424, 5, 3, 0};
    EXPECT_EQ(x->C_EX_FormatDrive(slotA, CKU_USER, pinBytes(adminPin), 8, layout.data(), 2), CKR_USER_TYPE_INVALID);
    ASSERT_EQ(format(), CKR_OK);
    const auto after = *store().load(1234567890);
    ASSERT_EQ(after.drive.sections.size(), 2u);
    EXPECT_EQ(after.drive.sections[1].number, 2u);
    EXPECT_EQ(qvtoken::ownerCode(after, after.drive.sections[1]), 3u);
    EXPECT_EQ(after.drive.sections[1].size, 424u);
    EXPECT_EQ(x->C_EX_GetDriveSize(3, &size), CKR_SLOT_ID_INVALID);
}

TEST_F(ModuleFixture, LocalPinsAreCreatedByTheUserAndChangedByThemselves)
{
    create("full");
    create("tls");
    auto silent = qvtoken::makePreset("class2");
    silent.switches.noTlsQuery = true;
    create(silent);
    ASSERT_EQ(initialize(), CKR_OK);

    LocalPinInfo local{};
    local.id = 5;
    EXPECT_EQ(x->C_EX_SlotManage(slotA, QV_SLOT_OP_LOCAL_PIN_INFO, &local), CKR_DEVICE_ERROR);
    local.id = 1;
    EXPECT_EQ(x->C_EX_SlotManage(slotA, QV_SLOT_OP_LOCAL_PIN_INFO, &local), CKR_DEVICE_ERROR);

    auto set = [&](const std::string& auth, const std::string& pin, CK_ULONG id) {
        return x->C_EX_SetLocalPIN(slotA, pinBytes(auth), auth.size(), pinBytes(pin), pin.size(), id);
    };
    EXPECT_EQ(set(userPin, "24681357", 2), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(set(userPin, "12345", 5), CKR_PIN_LEN_RANGE);
    EXPECT_EQ(set(userPin, "24681357", 5), CKR_OK);
    local.id = 5;
    ASSERT_EQ(x->C_EX_SlotManage(slotA, QV_SLOT_OP_LOCAL_PIN_INFO, &local), CKR_OK);
    EXPECT_EQ(local.id, 5u);
    EXPECT_EQ(local.minPinLen, 6u);
    EXPECT_EQ(local.maxPinLen, 32u);
    EXPECT_EQ(local.maxRetry, 10u);
    EXPECT_EQ(local.retriesLeft, 10u);
    EXPECT_EQ(local.reserved, 0u);

    EXPECT_EQ(set(userPin, "11112222", 5), CKR_PIN_INCORRECT); // an existing one needs its own PIN
    EXPECT_EQ(set("24681357", "11112222", 5), CKR_OK);
    EXPECT_EQ(x->C_EX_ChangeVolumeAttributes(slotA, 3, pinBytes("13572468"), 8, 2, 0, CK_TRUE), CKR_OK);

    CK_QUORVIK_TLS_QUERY query{};
    EXPECT_EQ(x->C_EX_SlotManage(slotA, QV_SLOT_OP_TLS_QUERY, &query), CKR_OK);
    EXPECT_EQ(query.isTls, 0u);
    EXPECT_EQ(x->C_EX_SlotManage(6, QV_SLOT_OP_TLS_QUERY, &query), CKR_OK);
    EXPECT_EQ(query.isTls, 1u);
    EXPECT_EQ(x->C_EX_SlotManage(3, QV_SLOT_OP_TLS_QUERY, &query), CKR_FUNCTION_NOT_SUPPORTED);
    EXPECT_EQ(x->C_EX_SlotManage(slotA, 4, &query), CKR_FUNCTION_NOT_SUPPORTED);
}
