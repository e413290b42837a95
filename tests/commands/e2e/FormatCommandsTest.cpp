// format and format-drive as a user runs them, on both roads.
#include "TokenCommandTest.h"

#include <fstream>

namespace {

void expectPin(const qvtoken::PinState& pin, const std::string& value, unsigned long tries)
{
    EXPECT_EQ(TokenScene::pinText(pin), value);
    EXPECT_EQ(pin.maxTries, tries);
    EXPECT_EQ(pin.triesLeft, tries);
}

class FormatTest : public TokenCommandTest, public testing::WithParamInterface<bool> {};

TEST_P(FormatTest, DefaultsGivenPinsAndConfiguredLimitsReachTheToken)
{
    scene.add(kSerial, GetParam(), [](qvtoken::TokenState& token) {
        token.userPin.value = {'9', '9', '9', '9', '8', '8', '8', '8'};
        token.userPin.triesLeft = 3;
    });
    const auto defaults = qvadmin.run({"format", "-p", kAdminPin});
    EXPECT_EQ(defaults.status, 0);
    EXPECT_EQ(defaults.out, kSuccess);
    auto token = scene.load(kSerial);
    expectPin(token.adminPin, kAdminPin, 10);
    expectPin(token.userPin, kUserPin, 10);
    EXPECT_NE(log(kSerial).find("format\n    label: \"\"\n    min-so-pin: 6\n    min-user-pin: 6\n"
                                "    max-so-pin-retry-count: 10\n    max-user-pin-retry-count: 10\n"
                                "    pin-change-policy: user\n    new-user-pin: ***\n    new-so-pin: ***\n" +
                                kSuccess),
              std::string::npos)
        << log(kSerial);

    std::ofstream(qvadmin.folder() / "qvadmin_conf.ini") << "min-pin-length=8\nmax-pin-retry-count=5\n";
    const auto configured =
        qvadmin.run({"format", "-p", kAdminPin, "--new-user-pin", "55556666", "--pin-change-policy", "both"});
    EXPECT_EQ(configured.out, kSuccess);
    token = scene.load(kSerial);
    expectPin(token.adminPin, kAdminPin, 5);
    expectPin(token.userPin, "55556666", 5);
    EXPECT_EQ(token.adminPin.minLength, 8u);
    EXPECT_EQ(token.userPin.minLength, 8u);
    EXPECT_EQ(token.pinChangeFlags, 3u);
}

// Repair blocks the unknown admin PIN, also an already blocked one, and formats without it.
TEST_P(FormatTest, RepairFormatsWithoutTheAdminPin)
{
    for (const unsigned long triesLeft : {10ul, 0ul}) {
        SCOPED_TRACE(triesLeft);
        scene.add(kSerial + triesLeft, GetParam(), [triesLeft](qvtoken::TokenState& token) {
            token.adminPin.value = {'1', '2', '3', '4', '5', '6'};
            token.adminPin.triesLeft = triesLeft;
        });
        const auto result = qvadmin.run({"format", "--repair", "-s", std::to_string(kSerial + triesLeft)});
        EXPECT_EQ(result.out, kSuccess);
        expectPin(scene.load(kSerial + triesLeft).adminPin, kAdminPin, 10);
    }
}

INSTANTIATE_TEST_SUITE_P(, FormatTest, testing::Values(false, true), roadName);

TEST_F(TokenCommandTest, FormatRefusesPinOptionsItCannotUseBeforeLoggingAnything)
{
    scene.add(kSerial, false);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"format", "--repair", "-p", kAdminPin}, "Incompatible options: auth-pin-input, repair."},
        {{"format", "-r", "-P", "console"}, "Incompatible options: auth-pin-input, repair."},
        {{"format", "-p", kAdminPin, "--pin-file", "pins.txt"},
         "The pin file option can't be specified for PIN input modes without generation."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto result = qvadmin.run(c.args);
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, syntaxError(c.message));
    }
    EXPECT_FALSE(hasLogFolder());
    std::ofstream(qvadmin.folder() / "qvadmin_conf.ini") << "auth-pin-input=console\n";
    EXPECT_EQ(qvadmin.run({"format", "--repair"}).out, kSuccess);
    EXPECT_NE(log(kSerial).find("    pin-change-policy: user\n    repair: true\n"), std::string::npos) << log(kSerial);
}

// Format never generates a PIN, so it needs no PIN policy object.
TEST_F(TokenCommandTest, FormatWorksOnATokenWithoutPinPolicy)
{
    scene.add(kSerial, false, asPreset("bare"));
    EXPECT_EQ(qvadmin.run({"format", "-p", kAdminPin, "-l", "bare"}).out, kSuccess);
    EXPECT_EQ(scene.load(kSerial).label, "bare");
}

// Both new PINs are typed once, admin first, and every token gets them.
TEST_F(TokenCommandTest, FormatAsksForTheConsolePinsOnceForAllTokens)
{
    scene.add(3001, false);
    scene.add(3002, true);
    const auto terminal = qvadmin.runOnTerminal(
        {"format", "-p", kAdminPin, "--new-so-pin-input", "console", "--new-user-pin-input", "console", "--parallel"});
    const std::pair<const char*, const char*> prompts[] = {{"Enter new admin PIN: ", "11223344"},
                                                           {"Enter new admin PIN again: ", "11223344"},
                                                           {"Enter new user PIN: ", "55667788"},
                                                           {"Enter new user PIN again: ", "55667788"}};
    for (const auto& [prompt, pin] : prompts) {
        terminal->waitFor(prompt);
        terminal->type(std::string(pin) + "\n");
    }
    EXPECT_EQ(WEXITSTATUS(terminal->finish()), 0);
    const auto& seen = terminal->output();
    for (const auto& [prompt, pin] : prompts) {
        EXPECT_EQ(seen.find(prompt), seen.rfind(prompt)) << seen;
    }
    for (const auto serial : scene.serials()) {
        const auto token = scene.load(serial);
        EXPECT_EQ(TokenScene::pinText(token.adminPin), "11223344");
        EXPECT_EQ(TokenScene::pinText(token.userPin), "55667788");
    }
}

// The module's road has no journal volumes.
TEST_F(TokenCommandTest, FormatDriveLaysOutTheCardsSections)
{
    scene.add(kSerial, true);
    scene.add(kSerial + 1, false);
    const auto result =
        qvadmin.run({"format-drive", "-p", kAdminPin, "--volume", "100:rw:user", "500:h:none:journal", "--parallel"});
    EXPECT_EQ(result.out,
              tokenLine(kSerial + 1, "error: Operation isn't supported on tokens that don't support journal volumes.") +
                  kFailure);
    const auto sections = scene.load(kSerial).drive.sections;
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].type, 0u);
    EXPECT_EQ(sections[0].size, 100u);
    EXPECT_EQ(sections[1].type, 1u);
    EXPECT_NE(log(kSerial).find("format-drive\n    volume: {100:rw:user,500:h:none}\n"), std::string::npos)
        << log(kSerial);

    EXPECT_EQ(
        qvadmin.run({"format-drive", "-s", std::to_string(kSerial), "-p", kAdminPin, "--volume", "100:rw:local-9"}).out,
        tokenLine(kSerial, "error: Couldn't find the specified secret.") + kFailure);
    EXPECT_EQ(scene.load(kSerial).drive.sections.size(), 2u);
}

// The owners are checked after the admin PIN is obtained, before any token is touched.
TEST_F(TokenCommandTest, FormatDriveRefusesTheFirstVolumeWithImpossibleOwners)
{
    scene.add(kSerial, true);
    const auto before = scene.load(kSerial).drive.sections.size();
    const std::string none = "Error: Owner can't be 'none' for non-journal sections.\n";
    const std::string combination = "Error: Unsupported combination of section owners provided.\n";
    const struct {
        std::vector<std::string> volumes;
        std::string error;
    } cases[] = {
        {{"100:rw:none:user-files"}, none},
        {{"100:rw:so,user"}, combination},
        {{"100:rw:none", "100:rw:so,user"}, none},
        {{"100:rw:user,so", "100:rw:none"}, combination},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"format-drive", "-P", "console", "--volume"};
        args.insert(args.end(), c.volumes.begin(), c.volumes.end());
        const auto result = qvadmin.run(args, kAdminPin + "\n");
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.err, c.error);
        EXPECT_EQ(result.out, "Enter authorization admin PIN: \n");
    }
    EXPECT_EQ(scene.load(kSerial).drive.sections.size(), before);
    EXPECT_FALSE(hasLogFolder());
}

// A typo in an owner or a part must not name another owner or a volume of other parts.
TEST_F(TokenCommandTest, FormatDriveRefusesVolumesWithTrailingSignedOrEmptyParts)
{
    scene.add(kSerial, true);
    const auto before = scene.load(kSerial).drive.sections.size();
    for (const char* volume : {"100:rw:local-3x", "100:rw:local-3O", "100:rw:local-+3", "100:rw:mva-5abc",
                               "512::rw:user", ":512:rw:user", "512:rw:user:"}) {
        const auto result = qvadmin.run({"format-drive", "-p", kAdminPin, "--volume", volume});
        EXPECT_EQ(result.status, 255) << volume;
        EXPECT_EQ(result.err,
                  syntaxError("the argument ('" + std::string(volume) + "') for option '--volume' is invalid"));
    }
    EXPECT_EQ(scene.load(kSerial).drive.sections.size(), before);
    EXPECT_FALSE(hasLogFolder());
}

} // namespace
