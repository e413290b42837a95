#include "ModuleFixture.h"

#include <thread>
#include <vector>

// The program's parallel strategy: one thread per token, each with its own sessions and login.
TEST_F(ModuleFixture, OneThreadPerTokenKeepsEachTokensStateApart)
{
    constexpr int tokens = 6;
    constexpr int rounds = 15;
    for (int i = 0; i < tokens; ++i) {
        auto token = qvtoken::makePreset("full");
        token.serial = 100 + i;
        token.slotId = 10 + i;
        create(token);
    }
    ASSERT_EQ(initialize(), CKR_OK);

    std::vector<std::thread> threads;
    std::vector<int> failures(tokens, 0);
    for (int i = 0; i < tokens; ++i) {
        threads.emplace_back([&, i] {
            const CK_SLOT_ID slot = 10 + i;
            for (int r = 0; r < rounds; ++r) {
                CK_SESSION_HANDLE h = 0;
                failures[i] += f->C_OpenSession(slot, 6, nullptr, nullptr, &h) != CKR_OK;
                failures[i] += login(h, CKU_USER, "00000000") != CKR_PIN_INCORRECT;
                failures[i] += login(h, CKU_USER, userPin) != CKR_OK;
                const std::string label = "token " + std::to_string(i) + " round " + std::to_string(r);
                failures[i] += x->C_EX_SetTokenName(h, pinBytes(label), label.size()) != CKR_OK;
                failures[i] += f->C_Logout(h) != CKR_OK;
                CK_TOKEN_INFO_EXTENDED ext;
                ext.size = sizeof ext;
                failures[i] += x->C_EX_GetTokenInfoExtended(slot, &ext) != CKR_OK || ext.userRetriesLeft != 10;
                failures[i] += f->C_CloseSession(h) != CKR_OK;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();

    for (int i = 0; i < tokens; ++i) {
        EXPECT_EQ(failures[i], 0) << "token " << i;
        EXPECT_EQ(store().load(100 + i)->label, "token " + std::to_string(i) + " round " + std::to_string(rounds - 1));
    }
}
