#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Token.h"

#include <gtest/gtest.h>

extern "C" int shrinkingModuleListCalls();
extern "C" int shrinkingModuleSlotInfoCalls();

namespace quorvik::pkcs11 {
namespace {

TEST(ShrinkingModuleTest, TokenPulledOutBetweenTheListingCalls)
{
    const Pkcs11 module(nullptr);
    const auto slots = module.getSlotList(false);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0]->token()->description(), "Reader 7");
    EXPECT_EQ(shrinkingModuleListCalls(), 2);
    EXPECT_EQ(shrinkingModuleSlotInfoCalls(), 1);
}

}  // namespace
}  // namespace quorvik::pkcs11
