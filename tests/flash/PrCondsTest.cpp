#include "flash/PrConds.h"

#include <gtest/gtest.h>

namespace {

TEST(PrConds, EachFieldCountsAndPaddingDoesNot)
{
    const qvflash_PrConds base{QVFLASH_RULE_USER, 4, 0, QVFLASH_SECRET_LOCAL_PIN};
    struct Case {
        const char* what;
        qvflash_PrConds other;
        bool equal;
    };
    const Case cases[] = {
        {"same", base, true},
        {"padding only", {QVFLASH_RULE_USER, 4, 0xffff, QVFLASH_SECRET_LOCAL_PIN}, true},
        {"rule", {QVFLASH_RULE_ADMIN, 4, 0, QVFLASH_SECRET_LOCAL_PIN}, false},
        {"secret id", {QVFLASH_RULE_USER, 5, 0, QVFLASH_SECRET_LOCAL_PIN}, false},
        {"secret type", {QVFLASH_RULE_USER, 4, 0, QVFLASH_SECRET_MVA}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base == c.other, c.equal) << c.what;
        EXPECT_NE(base != c.other, c.equal) << c.what;
    }
}

} // namespace
