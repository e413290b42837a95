#include "TokenCommandTest.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sys/wait.h>

namespace {

// The attributes of the token's first object of a feature type (the user's, for policies), as
// the bytes or words the module stores, joined by blanks.
std::string featureValues(const qvtoken::TokenState& token, unsigned long type,
                          const std::vector<unsigned long>& attributes)
{
    for (const auto& object : token.objects) {
        const auto* user = object.find(qvtoken::feature::policyUserType);
        if (qvtoken::isFeature(object, type) && (user == nullptr || user->value == qvtoken::ulongValue(1))) {
            std::string values;
            for (const auto attribute : attributes) {
                const auto* found = object.find(attribute);
                values += (values.empty() ? "" : " ") +
                          std::to_string(found->value.size() == 1 ? found->value[0] : *qvtoken::ulongOf(*found));
            }
            return values;
        }
    }
    return "no such object";
}

// The log's lines after the model line, without the timestamp that leads it.
std::string logBody(const std::string& log)
{
    const auto model = log.find("\nmodel: ");
    return model == std::string::npos ? log : log.substr(log.find('\n', model + 1) + 1);
}

class TokenCommandsTest : public TokenCommandTest {};

class SettingsOnBothRoads : public TokenCommandsTest, public testing::WithParamInterface<bool> {};

TEST_P(SettingsOnBothRoads, ForcePinChangeAndUnblockPins)
{
    const bool flash = GetParam();
    scene.add(kSerial, flash, [](qvtoken::TokenState& token) {
        token.userPin.triesLeft = 0;
        token.findLocalPin(3)->pin.triesLeft = 0;
        qvtoken::MvaFile mva;
        mva.id = 5;
        mva.triesLeft = 0;
        token.directory.emplace_back(mva);
    });
    EXPECT_EQ(qvadmin.run(words("force-pin-change -p 59302814")), (CommandResult{0, kSuccess, ""}));
    EXPECT_TRUE(scene.load(kSerial).userPinToBeChanged);
    EXPECT_EQ(logBody(log(kSerial)), "force-pin-change\nstatus: success\n\n");

    // The flash road also resets every local PIN and MVA; the module's unblocks the user PIN only,
    // and the local PIN it still reports blocked fails the token.
    const auto stillBlocked = tokenLine(kSerial, "error: Still blocked: local-3 (only the token's card resets local "
                                                 "PINs, and it didn't answer on PC/SC); counters reset before the "
                                                 "failure: user; the others were not reset.");
    EXPECT_EQ(qvadmin.run(words("unblock-pins -p 59302814")),
              flash ? (CommandResult{0, kSuccess, ""}) : (CommandResult{255, stillBlocked + kFailure, ""}));
    auto token = scene.load(kSerial);
    EXPECT_EQ(token.userPin.triesLeft, 10u);
    EXPECT_EQ(token.findLocalPin(3)->pin.triesLeft, flash ? 10u : 0u);
    EXPECT_EQ(token.findMva(5)->triesLeft, flash ? 10u : 0u);
    if (!flash) {
        // A module that answers the first local PIN with CKR_FUNCTION_NOT_SUPPORTED keeps none for
        // the token; the same answer for a later one (--skip 2: the listing's TLS query and local-3
        // are answered) leaves the blocked local-3 blocked, and fails the token also when local-3
        // is not blocked. Each run finds the user PIN blocked again.
        struct Answer {
            std::string skip;
            unsigned long local3TriesLeft;
            CommandResult result;
        };
        const auto notSupported = tokenLine(kSerial, "error: PKCS11: CKR_FUNCTION_NOT_SUPPORTED; counters reset "
                                                     "before the failure: user; the others were not reset.");
        const Answer answers[] = {
            {"--skip 2", 0, {255, stillBlocked + kFailure, ""}},
            {"--skip 2", 10, {255, notSupported + kFailure, ""}},
            {"", 0, {0, kSuccess, ""}},
        };
        for (const auto& answer : answers) {
            qvtoken::TokenStore().modify(kSerial, [&answer](qvtoken::TokenState& blocked) {
                blocked.userPin.triesLeft = 0;
                blocked.findLocalPin(3)->pin.triesLeft = answer.local3TriesLeft;
            });
            const auto fault = std::string(QVTOKEN_PATH) + " fault " + std::to_string(kSerial) +
                               " --clear >/dev/null && " + QVTOKEN_PATH + " fault " + std::to_string(kSerial) +
                               " C_EX_SlotManage 0x54 --always " + answer.skip + " >/dev/null";
            ASSERT_EQ(std::system(fault.c_str()), 0);
            EXPECT_EQ(qvadmin.run(words("unblock-pins -p 59302814")), answer.result) << answer.skip;
            token = scene.load(kSerial);
            EXPECT_EQ(token.userPin.triesLeft, 10u) << answer.skip;
            EXPECT_EQ(token.findLocalPin(3)->pin.triesLeft, answer.local3TriesLeft) << answer.skip;
        }
    }
}

TEST_P(SettingsOnBothRoads, SetLabelAndTouchSettingsReachTheToken)
{
    scene.add(kSerial, GetParam());
    EXPECT_EQ(qvadmin.run({"set-label", "-p", "40417263", "-l", "Отдел 7"}).out, kSuccess);
    EXPECT_EQ(scene.load(kSerial).label, "Отдел 7");
    EXPECT_EQ(logBody(log(kSerial)), "set-label\n    label: \"Отдел 7\"\nstatus: success\n\n");

    const auto touch = "set-touch-settings -p 59302814 --mode continuous --present-time-limit 5 --action-timeout 120";
    EXPECT_EQ(qvadmin.run(words(touch)).out, kSuccess);
    using namespace qvtoken::feature;
    EXPECT_EQ(featureValues(scene.load(kSerial), touchType, {touchMode, presenceTimeLimit, actionTimeout}), "1 5 120");
}

INSTANTIATE_TEST_SUITE_P(, SettingsOnBothRoads, testing::Values(false, true), roadName);

TEST_F(TokenCommandsTest, SetPinPolicyWritesAndLogsEveryField)
{
    scene.add(kSerial, true);
    const std::string required = "set-pin-policy -p 59302814 --min-length 12 --history-depth 5 --allow-default false "
                                 "--digit-required true --uppercase-required false --lowercase-required true "
                                 "--spec-char-required false --diff-chars-required true";
    EXPECT_EQ(qvadmin.run(words(required)), (CommandResult{0, kSuccess, ""}));
    EXPECT_EQ(logBody(log(kSerial)), "set-pin-policy\n    min-length: 12\n    history-depth: 5\n    allow-default: 0\n"
                                     "    digit-required: 1\n    uppercase-required: 0\n    lowercase-required: 1\n"
                                     "    diff-chars-required: 1\n    spec-char-required: 0\n"
                                     "    allow-change-policy: 1\n    remove-on-format: 1\nstatus: success\n\n");
    using namespace qvtoken::feature;
    const std::vector<unsigned long> fields{minLength,         historyDepth,      defaultPinAllowed, digitRequired,
                                            uppercaseRequired, lowercaseRequired, specCharRequired,  diffCharsRequired,
                                            modifiable,        removeOnFormat};
    EXPECT_EQ(featureValues(scene.load(kSerial), pinPolicyType, fields), "12 5 0 1 0 1 0 1 1 1");

    // Out of a byte's range, or missing: refused before the PIN is asked for.
    const auto console = std::regex_replace(required, std::regex("-p 59302814"), "-P console");
    const std::pair<std::string, std::string> refused[] = {
        {std::regex_replace(console, std::regex("12"), "256"),
         "the argument ('256') for option '--min-length' is invalid"},
        {std::regex_replace(console, std::regex(" 5 "), " -1 "),
         "the argument ('-1') for option '--history-depth' is invalid"},
        {std::regex_replace(console, std::regex(" --diff.*"), ""),
         "the option '--diff-chars-required' is required but missing"},
    };
    for (const auto& [line, message] : refused) {
        EXPECT_EQ(qvadmin.run(words(line), "59302814\n"), (CommandResult{255, "", syntaxError(message)}));
    }
    EXPECT_EQ(featureValues(scene.load(kSerial), pinPolicyType, {minLength}), "12");
}

TEST_F(TokenCommandsTest, SetLabelAsksForTheUserPinAndTouchNeedsATouchInterface)
{
    scene.add(kSerial, false);
    const auto terminal = qvadmin.runOnTerminal({"set-label", "-P", "console", "-l", "typed"});
    terminal->waitFor("Enter authorization user PIN: ");
    terminal->type("40417263\n");
    EXPECT_EQ(WEXITSTATUS(terminal->finish()), 0) << terminal->output();
    EXPECT_EQ(scene.load(kSerial).label, "typed");

    scene.addPreset("class2", true);
    EXPECT_EQ(qvadmin.run(words("set-touch-settings -s 2000000001 -p 59302814 --mode discrete --present-time-limit 1 "
                                "--action-timeout 1")),
              (CommandResult{255,
                             "serial: 2000000001, model: 02.01.01.03 Mosk, error: Operation isn't supported on tokens "
                             "without touch interface.\nstatus: failure\n",
                             ""}));
}

TEST_F(TokenCommandsTest, ListTokens)
{
    EXPECT_EQ(qvadmin.run({"list-tokens"}), (CommandResult{0, "No token found.\n", ""}));
    for (const auto* preset : {"full", "tls", "class2", "named"}) {
        scene.addPreset(preset, preset == std::string("full") || preset == std::string("named"));
    }
    EXPECT_EQ(qvadmin.run({"list-tokens"}), (CommandResult{0,
                                                           "01.00.28.05 ZRN 3.0 - 1234567890\n"
                                                           "02.01.01.03 Mosk    - 2000000001\n"
                                                           "Кворвик Т2          - 3000000001\n",
                                                           ""}));
    scene.addPreset("no-change-policy", false);
    EXPECT_EQ(qvadmin.run({"list-tokens"}), (CommandResult{255, "", "Error: Unknown PIN change policy.\n"}));
}

// Control characters that a token reports or a user gives are written escaped, so every record
// keeps one line per field and nothing reaches a terminal as a command; a label with one is refused.
TEST_F(TokenCommandsTest, ControlCharactersFromATokenOrTheCommandLineStayOnTheirLine)
{
    const std::string label = "Lab\x1b[31mel\x7f";
    scene.add(kSerial, false, [&label](qvtoken::TokenState& token) {
        token.featureNumber = 40;
        token.objects.push_back(qvtoken::tokenInfoObject("Evil\nerror: none\nstatus: success"));
        token.label = label;
    });
    const std::string model = "Evil\\nerror: none\\nstatus: success";
    EXPECT_EQ(qvadmin.run({"list-tokens"}).out, model + " - 1234567890\n");
    const auto info = qvadmin.run({"info"}).out;
    EXPECT_NE(info.find(": Lab\\x1b[31mel\\x7f\n"), std::string::npos) << info;
    EXPECT_NE(info.find(": " + model + "\n"), std::string::npos) << info;

    EXPECT_EQ(qvadmin.run({"set-label", "-p", "1111111", "-l", "plain"}).out,
              tokenLine(kSerial, "error: Incorrect user PIN. Attempts left: 9.", model) + kFailure);
    EXPECT_NE(log(kSerial).find("\nmodel: " + model + "\n"), std::string::npos) << log(kSerial);
    EXPECT_EQ(logBody(log(kSerial)),
              "set-label\n    label: \"plain\"\nerror: Incorrect user PIN. Attempts left: 9.\nstatus: failure\n\n");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"set-label", "-p", kUserPin, "-l", "\x1b[31mred"}, "\\x1b[31mred"},
        {{"format", "-p", kAdminPin, "--label", "two\nlines"}, "two\\nlines"},
    };
    for (const auto& [args, shown] : refused) {
        EXPECT_EQ(
            qvadmin.run(args),
            (CommandResult{255, "", syntaxError("the argument ('" + shown + "') for option '--label' is invalid")}));
    }
    EXPECT_EQ(scene.load(kSerial).label, label);
}

TEST_F(TokenCommandsTest, InfoShowsTheSectionsEachTokenHas)
{
    scene.addPreset("full", false);
    const auto full = qvadmin.run(words("info --serial 1234567890"));
    EXPECT_EQ(full, (CommandResult{0, qvadmin.read(std::filesystem::path(QV_EXPECTED_DIR) / "info-full.txt"), ""}));

    // The titles of the sections shown, and the sections that could not be read.
    const auto sections = [](const std::string& text) {
        std::string shown;
        const std::regex line("^([A-Z][a-z ]+:|Couldn't retrieve info: .*)$", std::regex::multiline);
        for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) {
            shown += it->str() + "|";
        }
        return shown;
    };
    const std::pair<const char*, const char*> presets[] = {
        {"bare", "General info:|Couldn't retrieve info: Pin policy.|"},
        {"policy-gap", "General info:|"},
        {"class2", "General info:|Pin policy:|"},
        {"bad-touch", "General info:|Pin policy:|Couldn't retrieve info: Touch settings.|"},
    };
    CommandResult shown;
    for (const auto& [preset, titles] : presets) {
        shown = qvadmin.run({"info", "-s", std::to_string(scene.addPreset(preset, false))});
        EXPECT_EQ(shown.status, 0) << preset;
        EXPECT_EQ(sections(shown.out), titles) << shown.out;
    }

    // Left: full and bad-touch.
    const std::string two = "info -e 2000000001 2000000002 5000000001";
    EXPECT_EQ(qvadmin.run(words(two)),
              (CommandResult{
                  255, "", "Error: Multiple tokens detected. Use filter and strategy options to adjust behavior.\n"}));
    const auto parallel = qvadmin.run(words(two + " --parallel"));
    EXPECT_EQ(parallel.status, 0);
    EXPECT_TRUE(parallel.out == full.out + shown.out || parallel.out == shown.out + full.out) << parallel.out;
}

// A flash token shows its drive as the card keeps it, sections of every kind, right after the
// drive is formatted.
TEST_F(TokenCommandsTest, InfoShowsAFlashDriveAfterFormatDrive)
{
    scene.add(kSerial, true);
    ASSERT_EQ(qvadmin.run(words("format-drive -p 59302814 --volume 100:rw:user 200:cd:so 500:h:none:journal")).status,
              0);
    const auto info = qvadmin.run({"info"}).out;
    const auto drive = info.substr(info.find("Drive info:"));
    EXPECT_EQ(drive.substr(0, drive.find("Touch settings:")),
              qvadmin.read(std::filesystem::path(QV_EXPECTED_DIR) / "info-drive-formatted.txt"));
}

// Commands of one road never ask the flash library: a card that would fail its next question
// leaves them alone, and so does a missing PC/SC service, which only a flash road meets.
TEST_F(TokenCommandsTest, OneRoadCommandsNeedNeitherTheCardsNorPcsc)
{
    for (std::uint64_t i = 0; i < 4; ++i) {
        scene.add(kSerial + i, true);
    }
    // Armed once the card is up: waiting for it asks its serial too.
    qvtoken::TokenStore().modify(kSerial, [](qvtoken::TokenState& token) {
        qvtoken::CardFault fault;
        fault.ins = 0xCA;
        fault.action = "sw";
        fault.argument = "6F 00";
        // Twice: the flash token list, then the look for the token's own card.
        fault.count = 2;
        token.cardFaults.push_back(fault);
    });
    EXPECT_EQ(qvadmin.run(words("set-label --parallel -p 40417263 -l Glitch")), (CommandResult{0, kSuccess, ""}));
    for (std::uint64_t i = 0; i < 4; ++i) {
        EXPECT_EQ(scene.load(kSerial + i).label, "Glitch");
    }
    // The glitch is still armed: the first flash reads meet it.
    EXPECT_NE(qvadmin.run(words("info -s 1234567890")).out.find("Couldn't retrieve info: Drive info."),
              std::string::npos);

    const auto unplugged = scene.add(kSerial + 4, false);
    const std::string pcscd = std::getenv("PCSCLITE_CSOCK_NAME");
    setenv("PCSCLITE_CSOCK_NAME", "/nonexistent/pcscd.comm", 1);
    const auto label = qvadmin.run(words("set-label -s 1234567894 -p 40417263 -l Alone"));
    const auto mva = qvadmin.run(words("create-mva -s 1234567894 -p 59302814"));
    setenv("PCSCLITE_CSOCK_NAME", pcscd.c_str(), 1);
    EXPECT_EQ(label, (CommandResult{0, kSuccess, ""}));
    EXPECT_EQ(scene.load(unplugged).label, "Alone");
    EXPECT_EQ(mva, (CommandResult{255, tokenLine(unplugged, "error: Qvflash: PCSC error") + kFailure, ""}));
}

} // namespace
