// set-local-pin and create-local-pin as a user runs them.
#include "TokenCommandTest.h"

#include <regex>

namespace {

const std::string kLocalPin = "13572468";
const std::string kBareModel = "02.01.01.03 ZRN";

// The preset's local PIN 3 as its holder may change it on the card, as a created one is.
void selfChangeable(qvtoken::TokenState& token)
{
    for (auto& entry : token.directory) {
        if (auto* local = std::get_if<qvtoken::LocalPin>(&entry)) {
            local->secureType = 0x04;
            local->securityIndex = static_cast<unsigned char>(local->id);
        }
    }
}

// The local PIN of the given id, or an empty text when the token has none.
std::string localPin(const qvtoken::TokenState& token, unsigned long id)
{
    for (const auto& entry : token.directory) {
        if (const auto* local = std::get_if<qvtoken::LocalPin>(&entry); local && local->id == id) {
            return TokenScene::pinText(local->pin);
        }
    }
    return {};
}

class LocalPinTest : public TokenCommandTest, public testing::WithParamInterface<bool> {};

TEST_P(LocalPinTest, SetLocalPinChangesAnExistingLocalPin)
{
    scene.add(kSerial, GetParam(), selfChangeable);
    const auto wrong = qvadmin.run({"set-local-pin", "-i", "3", "-p", "11112222", "-n", "24681357"});
    EXPECT_EQ(wrong.out, tokenLine(kSerial, "error: Incorrect local-3 PIN. Attempts left: 9.") + kFailure);
    const auto done = qvadmin.run({"set-local-pin", "-i", "3", "-p", kLocalPin, "-n", "24681357"});
    EXPECT_EQ(done.out, kSuccess);
    EXPECT_EQ(localPin(scene.load(kSerial), 3), "24681357");
    EXPECT_NE(log(kSerial).find("set-local-pin\n    local-id: 3\n    new-pin: ***\n"), std::string::npos);
    EXPECT_EQ(qvadmin.run({"set-local-pin", "-i", "9", "-p", kLocalPin, "-n", "24681357"}).out,
              tokenLine(kSerial, "error: Couldn't find the specified secret.") + kFailure);
}

// Ids are 16 bits: the largest reaches the token, the next is refused rather than cut to 0.
TEST_P(LocalPinTest, LocalIdsOutsideTheRangeAreRefusedBeforeAnyPin)
{
    scene.add(kSerial, GetParam());
    for (const auto* id : {"2", "-1"}) {
        EXPECT_EQ(qvadmin.run({"set-local-pin", "-i", id, "-P", "console", "-n", "24681357"}).err,
                  syntaxError("Local user ID can't be less than 3."));
    }
    EXPECT_EQ(qvadmin.run({"create-local-pin", "-i", "65539", "-p", kUserPin, "-n", "24681357"}).err,
              syntaxError("the argument ('65539') for option '--local-id' is invalid"));
    EXPECT_EQ(qvadmin.run({"set-local-pin", "-i", "65536", "-p", kLocalPin, "-n", "24681357"}).err,
              syntaxError("the argument ('65536') for option '--local-id' is invalid"));
    EXPECT_FALSE(hasLogFolder());
    EXPECT_EQ(qvadmin.run({"set-local-pin", "-i", "65535", "-p", kLocalPin, "-n", "24681357"}).out,
              tokenLine(kSerial, "error: Couldn't find the specified secret.") + kFailure);
    EXPECT_EQ(localPin(scene.load(kSerial), 3), kLocalPin);
}

INSTANTIATE_TEST_SUITE_P(, LocalPinTest, testing::Values(false, true), roadName);

TEST_F(TokenCommandTest, TheCardNamesTheNewLocalPin)
{
    scene.add(kSerial, true);
    const auto result = qvadmin.run({"create-local-pin", "-p", kUserPin, "-N", "generate"});
    EXPECT_EQ(result.out, tokenLine(kSerial, "Local id: 4") + kSuccess);
    const auto pins = pinFile();
    std::smatch row;
    ASSERT_TRUE(std::regex_search(pins, row, std::regex("\n1234567890;local-4;(\\S+)\n"))) << pins;
    EXPECT_EQ(localPin(scene.load(kSerial), 4), row[1]);
    EXPECT_NE(log(kSerial).find("    new-pin: " + std::string(row[1]) + "\n    Local id: 4\n"), std::string::npos)
        << log(kSerial);

    EXPECT_EQ(qvadmin.run({"create-local-pin", "-i", "5", "-p", kUserPin, "-n", "24681357"}).out,
              tokenLine(kSerial, "error: Secret id is provided but not required.") + kFailure);
}

// A given PIN needs no PIN policy object, which only generation reads.
TEST_F(TokenCommandTest, TheModuleCreatesTheNamedLocalPin)
{
    scene.add(kSerial, false, asPreset("bare"));
    EXPECT_EQ(qvadmin.run({"create-local-pin", "-p", kUserPin, "-n", "24681357"}).out,
              tokenLine(kSerial, "error: Secret id is required but not provided.", kBareModel) + kFailure);
    EXPECT_EQ(qvadmin.run({"create-local-pin", "-i", "5", "-p", kUserPin, "-n", "24681357"}).out, kSuccess);
    EXPECT_EQ(localPin(scene.load(kSerial), 5), "24681357");
    EXPECT_EQ(qvadmin.run({"create-local-pin", "-i", "5", "-p", kUserPin, "-n", "24681357"}).out,
              tokenLine(kSerial, "error: Local PIN already exists.", kBareModel) + kFailure);
}

} // namespace
