#include "CommandRun.h"
#include "TokenScene.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sys/wait.h>

namespace {

constexpr std::uint64_t kSerial = 1234567890;
const std::string kAdminPin = "59302814";
const std::string kUserPin = "40417263";
const std::string kSuccess = "status: success\n";

std::string expected(const std::string& name)
{
    std::ifstream in(std::string(QV_EXPECTED_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The value of one attribute of the token's first object of a feature type (the user's, for
// policies), as the byte or word the module stores.
unsigned long featureValue(const qvtoken::TokenState& token, unsigned long type, unsigned long attribute)
{
    for (const auto& object : token.objects) {
        const auto* user = object.find(qvtoken::feature::policyUserType);
        if (qvtoken::isFeature(object, type) && (user == nullptr || user->value == qvtoken::ulongValue(1))) {
            const auto& value = object.find(attribute)->value;
            return value.size() == 1 ? value[0] : *qvtoken::ulongOf(*object.find(attribute));
        }
    }
    throw std::runtime_error("no such object");
}

class TokenCommandsTest : public testing::Test {
protected:
    std::string log(std::uint64_t serial) const
    {
        return qvadmin.read(qvadmin.folder() / "qvadmin-logs" / ("qvadmin_" + std::to_string(serial) + ".log"));
    }
    // The log's lines after the model line, without the timestamp that leads it.
    std::string logBody(std::uint64_t serial) const
    {
        const auto text = log(serial);
        const auto model = text.find("\nmodel: ");
        return model == std::string::npos ? text : text.substr(text.find('\n', model + 1) + 1);
    }

    TokenScene scene;
    CommandRun qvadmin;
};

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
    const auto forced = qvadmin.run({"force-pin-change", "-p", kAdminPin});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.out, kSuccess);
    EXPECT_EQ(forced.err, "");
    EXPECT_TRUE(scene.load(kSerial).userPinToBeChanged);
    EXPECT_EQ(logBody(kSerial), "force-pin-change\nstatus: success\n\n");

    const auto unblocked = qvadmin.run({"unblock-pins", "-p", kAdminPin});
    EXPECT_EQ(unblocked.status, 0);
    EXPECT_EQ(unblocked.out, kSuccess);
    auto token = scene.load(kSerial);
    EXPECT_EQ(token.userPin.triesLeft, 10u);
    // The flash road also resets every local PIN and MVA; the module's unblocks the user PIN only.
    EXPECT_EQ(token.findLocalPin(3)->pin.triesLeft, flash ? 10u : 0u);
    EXPECT_EQ(token.findMva(5)->triesLeft, flash ? 10u : 0u);
}

TEST_P(SettingsOnBothRoads, SetLabelAndSettingsReachTheToken)
{
    scene.add(kSerial, GetParam());
    EXPECT_EQ(qvadmin.run({"set-label", "-p", kUserPin, "-l", "Отдел 7"}).out, kSuccess);
    EXPECT_EQ(scene.load(kSerial).label, "Отдел 7");
    EXPECT_EQ(logBody(kSerial), "set-label\n    label: \"Отдел 7\"\nstatus: success\n\n");

    EXPECT_EQ(qvadmin
                  .run({"set-touch-settings", "-p", kAdminPin, "--mode", "continuous", "--present-time-limit", "5",
                        "--action-timeout", "120"})
                  .out,
              kSuccess);
    const auto token = scene.load(kSerial);
    using namespace qvtoken::feature;
    EXPECT_EQ(featureValue(token, touchType, touchMode), 1u);
    EXPECT_EQ(featureValue(token, touchType, presenceTimeLimit), 5u);
    EXPECT_EQ(featureValue(token, touchType, actionTimeout), 120u);
}

INSTANTIATE_TEST_SUITE_P(, SettingsOnBothRoads, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Plugged" : "Unplugged"; });

TEST_F(TokenCommandsTest, SetPinPolicyWritesAndLogsEveryField)
{
    scene.add(kSerial, true);
    const auto required = words("set-pin-policy -p 59302814 --min-length 12 --history-depth 5 --allow-default false "
                                "--digit-required true --uppercase-required false --lowercase-required true "
                                "--spec-char-required false --diff-chars-required true");
    const auto result = qvadmin.run(required);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, kSuccess);
    EXPECT_EQ(logBody(kSerial), "set-pin-policy\n    min-length: 12\n    history-depth: 5\n    allow-default: 0\n"
                                "    digit-required: 1\n    uppercase-required: 0\n    lowercase-required: 1\n"
                                "    diff-chars-required: 1\n    spec-char-required: 0\n"
                                "    allow-change-policy: 1\n    remove-on-format: 1\nstatus: success\n\n");
    const auto token = scene.load(kSerial);
    using namespace qvtoken::feature;
    const std::pair<unsigned long, unsigned long> fields[] = {
        {minLength, 12},        {historyDepth, 5},      {defaultPinAllowed, 0}, {digitRequired, 1},
        {uppercaseRequired, 0}, {lowercaseRequired, 1}, {specCharRequired, 0},  {diffCharsRequired, 1},
        {modifiable, 1},        {removeOnFormat, 1}};
    for (const auto& [attribute, value] : fields) {
        EXPECT_EQ(featureValue(token, pinPolicyType, attribute), value) << std::hex << attribute;
    }

    // Out of a byte's range, or missing: refused before any PIN is asked for.
    const std::string hints = "To see a list of all supported commands, run 'qvadmin --help'.\n"
                              "To see a list of options supported by a specific command, run 'qvadmin <command> "
                              "--help'\n";
    const auto changed = [&](std::size_t index, const std::string& value) {
        auto args = required;
        if (value.empty()) {
            args.erase(args.begin() + index - 1, args.begin() + index + 1);
        } else {
            args[index] = value;
        }
        args[1] = "-P";
        args[2] = "console";
        return args;
    };
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {changed(4, "256"), "the argument ('256') for option '--min-length' is invalid"},
        {changed(6, "-1"), "the argument ('-1') for option '--history-depth' is invalid"},
        {changed(18, ""), "the option '--diff-chars-required' is required but missing"},
    };
    for (const auto& [args, message] : refused) {
        const auto run = qvadmin.run(args, kAdminPin + "\n");
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "Syntax error: " + message + "\n" + hints);
    }
    EXPECT_EQ(featureValue(scene.load(kSerial), pinPolicyType, minLength), 12u);
}

TEST_F(TokenCommandsTest, SetLabelAsksForTheUserPinAndTouchNeedsATouchInterface)
{
    scene.add(kSerial, false);
    const auto terminal = qvadmin.runOnTerminal({"set-label", "-P", "console", "-l", "typed"});
    terminal->waitFor("Enter authorization user PIN: ");
    terminal->type(kUserPin + "\n");
    EXPECT_EQ(WEXITSTATUS(terminal->finish()), 0) << terminal->output();
    EXPECT_EQ(scene.load(kSerial).label, "typed");

    const auto class2 = scene.addPreset("class2", true);
    const auto touch = qvadmin.run({"set-touch-settings", "-s", std::to_string(class2), "-p", kAdminPin, "--mode",
                                    "discrete", "--present-time-limit", "1", "--action-timeout", "1"});
    EXPECT_EQ(touch.status, 255);
    EXPECT_EQ(touch.out, "serial: 2000000001, model: 02.01.01.03 Mosk, error: Operation isn't supported on tokens "
                         "without touch interface.\nstatus: failure\n");
    EXPECT_EQ(touch.err, "");
}

TEST_F(TokenCommandsTest, ListTokens)
{
    const auto none = qvadmin.run({"list-tokens"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "No token found.\n");
    EXPECT_EQ(none.err, "");

    scene.addPreset("full", true);
    scene.addPreset("tls", false);
    scene.addPreset("class2", false);
    scene.addPreset("named", true);
    const auto listed = qvadmin.run({"list-tokens"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "01.00.28.05 ZRN 3.0 - 1234567890\n02.01.01.03 Mosk    - 2000000001\n"
                          "Кворвик Т2          - 3000000001\n");

    scene.addPreset("no-change-policy", false);
    const auto failed = qvadmin.run({"list-tokens"});
    EXPECT_EQ(failed.status, 255);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "Error: Unknown PIN change policy.\n");
}

TEST_F(TokenCommandsTest, InfoShowsTheSectionsEachTokenHas)
{
    scene.addPreset("full", false);
    const auto full = qvadmin.run({"info", "--serial", "1234567890"});
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.out, expected("info-full.txt"));
    EXPECT_EQ(full.err, "");

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
        {"bad-touch", "General info:|Pin policy:|Couldn't retrieve info: Touch settings.|"},
        {"class2", "General info:|Pin policy:|"},
    };
    std::string badTouch;
    for (const auto& [preset, shown] : presets) {
        const auto serial = scene.addPreset(preset, false);
        const auto result = qvadmin.run({"info", "-s", std::to_string(serial)});
        EXPECT_EQ(result.status, 0) << preset;
        EXPECT_EQ(sections(result.out), shown) << result.out;
        if (std::string(preset) == "bad-touch") {
            badTouch = result.out;
        }
    }

    const std::vector<std::string> two{"info", "-e", "2000000001", "2000000002", "5000000001"};
    const auto refused = qvadmin.run(two);
    EXPECT_EQ(refused.status, 255);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "Error: Multiple tokens detected. Use filter and strategy options to adjust behavior.\n");
    auto parallelArgs = two;
    parallelArgs.push_back("--parallel");
    const auto parallel = qvadmin.run(parallelArgs);
    EXPECT_EQ(parallel.status, 0);
    EXPECT_TRUE(parallel.out == full.out + badTouch || parallel.out == badTouch + full.out) << parallel.out;
}

} // namespace
