#include "VirtualTokens.h"

#include "pkcs11/Pkcs11.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

namespace quorvik::pkcs11 {
namespace {

using ModuleBindingTest = VirtualTokens;

std::vector<std::uint64_t> serialsOf(const std::vector<std::shared_ptr<Slot>>& slots)
{
    std::vector<std::uint64_t> serials;
    for (const auto& slot : slots)
        serials.push_back(slot->token()->serialNumber());
    return serials;
}

TEST_F(ModuleBindingTest, NoTokens)
{
    const Pkcs11 module(nullptr);
    EXPECT_TRUE(module.getSlotList(true).empty());
    EXPECT_TRUE(module.getSlotList(false).empty());
}

TEST_F(ModuleBindingTest, SeveralTokensInSlotOrder)
{
    addToken("class2", 33, 7);
    addToken("full", 11, 2);
    addToken("no-flash", 22, 4, [](qvtoken::TokenState& token) { token.slotDescription = "Reader  B"; });

    const Pkcs11 module(nullptr);
    const auto slots = module.getSlotList(true);
    EXPECT_EQ(serialsOf(slots), (std::vector<std::uint64_t>{11, 22, 33}));
    EXPECT_EQ(slots[1]->token()->description(), "Reader  B");
    EXPECT_EQ(module.getSlotList(false).size(), 3u);
    EXPECT_EQ(calls("C_GetSlotList"), 2);
    EXPECT_EQ(calls("C_GetSlotInfo"), 3);
}

TEST_F(ModuleBindingTest, ListedSlotWithoutTokenAndDuplicateIds)
{
    addToken("full", 11, 1, [](qvtoken::TokenState& token) { token.switches.duplicateSlotId = true; });
    addToken("full", 22, 2, [](qvtoken::TokenState& token) { token.switches.listedNotPresent = true; });

    const Pkcs11 module(nullptr);
    const auto all = module.getSlotList(false);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1]->token(), nullptr);
    EXPECT_EQ(serialsOf(module.getSlotList(true)), (std::vector<std::uint64_t>{11}));
}

TEST_F(ModuleBindingTest, ListingRestartsWhenTheListGrew)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_GetSlotList", CKR_BUFFER_TOO_SMALL, 1);

    const Pkcs11 module(nullptr);
    EXPECT_EQ(serialsOf(module.getSlotList(true)), (std::vector<std::uint64_t>{11}));
    EXPECT_EQ(calls("C_GetSlotList"), 4);
}

TEST_F(ModuleBindingTest, FailedListingFinalisesTheModule)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_GetSlotInfo", CKR_DEVICE_ERROR);
    EXPECT_THROW(Pkcs11 module(nullptr), DeviceErrorException);
    EXPECT_EQ(calls("C_Finalize"), 1);

    addFault(serial, "C_GetSlotList", CKR_HOST_MEMORY, 1);
    EXPECT_THROW(Pkcs11 module(nullptr), HostMemoryException);
    EXPECT_EQ(calls("C_Finalize"), 2);

    // Finalised each time: the module initialises again.
    const Pkcs11 module(nullptr);
    EXPECT_EQ(module.getSlotList(true).size(), 1u);
}

TEST_F(ModuleBindingTest, FailedInitialisationIsNotFinalised)
{
    const auto serial = addToken("full", 11, 1);
    addFault(serial, "C_Initialize", CKR_GENERAL_ERROR);
    try {
        Pkcs11 module(nullptr);
        FAIL();
    } catch (const GeneralErrorException& error) {
        EXPECT_STREQ(error.what(), "PKCS11: CKR_GENERAL_ERROR");
    }
    EXPECT_EQ(calls("C_Finalize"), 0);
    EXPECT_EQ(calls("C_GetSlotList"), 0);
}

TEST_F(ModuleBindingTest, DestructionFinalisesOnce)
{
    addToken("full", 11, 1);
    {
        const Pkcs11 module(nullptr);
    }
    const Pkcs11 again(nullptr);
    EXPECT_EQ(calls("C_Initialize"), 2);
    EXPECT_EQ(calls("C_Finalize"), 1);
}

} // namespace
} // namespace quorvik::pkcs11
