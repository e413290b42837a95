#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <gtest/gtest.h>

extern "C" void changingSlotsArrive(bool arrive);
extern "C" int changingSlotsListCalls();
extern "C" int changingSlotsSlotInfoCalls();

namespace quorvik::pkcs11 {
namespace {

TEST(ChangingSlotsModuleTest, TokenPulledOutBetweenTheListingCalls)
{
    changingSlotsArrive(false);
    const Pkcs11 module(nullptr);
    const auto slots = module.getSlotList(false);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0]->token()->description(), "Reader 7");
    EXPECT_EQ(changingSlotsListCalls(), 2);
    EXPECT_EQ(changingSlotsSlotInfoCalls(), 1);
}

// With nothing counted the listing call gets no array, which the module takes for a count
// query: a larger count then means the list grew, as a too-small buffer would.
TEST(ChangingSlotsModuleTest, TokensArrivingAfterAnEmptyCount)
{
    changingSlotsArrive(true);
    const Pkcs11 module(nullptr);
    const auto slots = module.getSlotList(true);
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(slots[1]->token()->description(), "Reader 9");
    EXPECT_EQ(changingSlotsListCalls(), 4);
    EXPECT_EQ(changingSlotsSlotInfoCalls(), 2);
}

} // namespace
} // namespace quorvik::pkcs11
