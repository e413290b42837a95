// The tool's token over the stand-in module: tokens the flash library does not list.
#include "TokenCards.h"

#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/Slot.h"
#include "token/AnyTokenFilter.h"
#include "token/ExcludeTokenFilter.h"
#include "token/SingleTokenFilter.h"
#include "token/wrapPkcsLogin.h"

#include <qvtoken-core/FeatureObjects.h>
#include <qvtoken-core/TokenPresets.h>

namespace {

using qvtoken::TokenState;
namespace feature = qvtoken::feature;

const std::string kAdminPin = qvtoken::defaultAdminPin;
const std::string kUserPin = qvtoken::defaultUserPin;

qvtoken::Bytes bytes(const std::string& text)
{
    return qvtoken::bytesOf(text.c_str());
}

// What a read gives, as text: its value or its error.
using Read = std::function<std::string(Token&)>;

TEST_F(TokenCards, ReadsOfThePresets)
{
    for (const char* preset :
         {"full", "class2", "named", "class3", "no-change-policy", "bare", "policy-gap", "bad-touch"}) {
        const auto made = qvtoken::makePreset(preset);
        add(preset, made.serial, made.slotId, false);
    }
    const Read model = [](Token& t) { return t.getInfo().model; };
    const Read minUser = [](Token& t) { return std::to_string(t.getUserPinLengths().min); };
    const Read policy = [](Token& t) { return t.getUserPinPolicy() ? "policy" : "none"; };
    const Read touch = [](Token& t) {
        const auto s = t.getTouchSettings();
        return s ? *toString(s->mode) + " " + std::to_string(s->presentTimeLimit) + " " +
                       std::to_string(s->actionTimeout)
                 : "none";
    };
    const std::vector<std::tuple<std::uint64_t, Read, std::string>> reads{
        {1234567890, model, "01.00.28.05 ZRN 3.0"},
        {2000000001, model, "02.01.01.03 Mosk"},
        {2000000002, model, "02.01.01.03 ZRN"},
        {3000000001, model, "Кворвик Т2"},
        {5000000004, model, "Unknown token class."},
        {5000000003, model, "Unknown PIN change policy."},
        {1234567890, [](Token& t) { return std::to_string(t.getSoPinLengths().min); }, "6"},
        {2000000002, minUser, "Missing PIN policy."},
        {5000000001, policy, "none"},
        {1234567890, touch, "discrete 10 30"},
        {2000000001, touch, "none"},
        {5000000002, touch, "Unknown touch mode."}};
    for (const auto& [serial, read, expected] : reads) {
        std::string value;
        const auto error = errorOf([&, serial = serial, &read = read] {
            auto t = token(serial);
            value = read(t);
        });
        EXPECT_EQ(value + error, expected) << serial;
    }
    const auto full = token(1234567890).getInfo();
    EXPECT_EQ(std::make_tuple(full.serialNumber, full.label, full.pinChangePolicy, full.soRetriesLeft),
              std::make_tuple(1234567890UL, std::string("Stand-in A"), PinChangePolicy::User, 10UL));
    // The policy's minimum counts only when it is not below the token's own.
    for (const auto& [policyMinimum, expected] : {std::pair{9, "9"}, {4, "6"}}) {
        modify(1234567890, [&, m = policyMinimum](TokenState& t) {
            t.objects.front().find(feature::minLength)->value = qvtoken::byteValue(m);
        });
        auto t = token(1234567890);
        EXPECT_EQ(minUser(t), expected);
    }
}

TEST_F(TokenCards, LoginsAndWrites)
{
    const auto serial = add("full", 1234567890, 1, false, [](TokenState& s) { s.pinChangeFlags = 3; });
    auto t = token(serial);
    EXPECT_EQ(errorOf([&] { t.setSoPin({"00000000", "1"}); }), "Incorrect so PIN. Attempts left: 9.");
    EXPECT_EQ(errorOf([&] { t.setLabel("00000000", "x"); }), "Incorrect user PIN. Attempts left: 9.");
    EXPECT_EQ(errorOf([&] {
                  t.setLocalPin(LocalUserId(3), {"00000000", "1"});
              }),
              "Incorrect local-3 PIN. Attempts left: 9.");
    // A local PIN the token does not know has no attempts to tell.
    const auto pkcsToken = module_->getSlotList(true).at(0)->token();
    const auto refused = [] { throw quorvik::pkcs11::PinIncorrectException(); };
    EXPECT_EQ(errorOf([&] { wrapPkcsLogin(refused, LocalUserId(7), *pkcsToken); }), "PKCS11: CKR_PIN_INCORRECT");

    t.setUserPin({UserType::User, kUserPin, "22222222"});
    EXPECT_EQ(state(serial).userPin.value, bytes("22222222"));
    t.setUserPin({UserType::So, kAdminPin, "33333333"});
    t.setLabel("33333333", "Relabelled");
    t.enableForcedPinChangeMode(kAdminPin);
    modify(serial, [](TokenState& s) { s.userPin.triesLeft = 2; });
    t.unblockPins(kAdminPin);
    // Each policy field to its own attribute: neighbours differ.
    t.setUserPinPolicy(kAdminPin, PinPolicy{true, false, true, false, true, false, true, false, 7, 3});
    t.setTouchSettings(kAdminPin, TouchSettings{TouchMode::Continuous, 15, 45});
    auto s = state(serial);
    EXPECT_EQ(std::make_tuple(s.userPin.value, s.label, s.userPinToBeChanged, s.userPin.triesLeft),
              std::make_tuple(bytes("33333333"), std::string("Relabelled"), true, 10UL));
    const auto valueOf = [&](std::size_t object, unsigned long type) {
        const auto* attribute = s.objects.at(object).find(type);
        return attribute ? attribute->value : qvtoken::Bytes{};
    };
    const std::vector<unsigned long> flags{
        feature::removeOnFormat,    feature::modifiable,        feature::defaultPinAllowed, feature::digitRequired,
        feature::uppercaseRequired, feature::lowercaseRequired, feature::specCharRequired,  feature::diffCharsRequired};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        EXPECT_EQ(valueOf(0, flags[i]), qvtoken::boolValue(i % 2 == 0)) << std::hex << flags[i];
    }
    EXPECT_EQ(std::make_pair(valueOf(0, feature::minLength), valueOf(0, feature::historyDepth)),
              std::make_pair(qvtoken::byteValue(7), qvtoken::byteValue(3)));
    EXPECT_EQ(std::make_tuple(valueOf(1, feature::touchMode), valueOf(1, feature::presenceTimeLimit),
                              valueOf(1, feature::actionTimeout)),
              std::make_tuple(qvtoken::ulongValue(1), qvtoken::ulongValue(15), qvtoken::ulongValue(45)));

    // A logout that fails after the change neither undoes it nor fails it.
    modify(serial, [](TokenState& s) { s.moduleFaults.push_back({"C_Logout", 0x32, 0, 1}); });
    EXPECT_NO_THROW(t.setSoPin({kAdminPin, "44444444"}));
    EXPECT_EQ(state(serial).adminPin.value, bytes("44444444"));
    modify(serial, [](TokenState& s) { s.adminPin.triesLeft = 0; });
    EXPECT_EQ(errorOf([&] { t.setSoPin({"44444444", "1"}); }), "so PIN is blocked.");
}

TEST_F(TokenCards, FormatSetsTheTokenAndRepairsAnUnknownAdminPin)
{
    const auto serial = add("no-flash", 1234567891, 2, false);
    auto t = token(serial);
    FormatTokenParams params{kAdminPin, "55555555", "66666666", "Formatted", 7, 8, 5, 6, false, PinChangePolicy::Both};
    auto refused = params;
    refused.pinChangePolicy = static_cast<PinChangePolicy>(3);
    clearLogs();
    EXPECT_EQ(errorOf([&] { t.format(refused); }), "Unknown PIN change policy.");
    EXPECT_EQ(logged(0, "rv="), 0);

    t.format(params);
    auto s = state(serial);
    EXPECT_EQ(std::make_tuple(s.label, s.adminPin.value, s.userPin.value, s.pinChangeFlags),
              std::make_tuple(std::string("Formatted"), bytes("55555555"), bytes("66666666"), 3UL));
    EXPECT_EQ(std::make_tuple(s.adminPin.minLength, s.userPin.minLength, s.adminPin.maxTries, s.userPin.maxTries),
              std::make_tuple(7UL, 8UL, 5UL, 6UL));

    // Guesses block the unknown PIN; a PIN already blocked takes one guess.
    params.repair = true;
    params.newSoPin = "77777777";
    for (const auto& [triesLeft, maxLogins] : {std::pair{3UL, 4L}, {0UL, 1L}}) {
        modify(serial, [&, left = triesLeft](TokenState& s) { s.adminPin.triesLeft = left; });
        clearLogs();
        t.format(params);
        EXPECT_LE(logged(0, "C_Login "), maxLogins);
        EXPECT_EQ(state(serial).adminPin.value, bytes("77777777"));
    }
    // A PIN that never blocks ends the guessing: twice the token's 5 tries and 16 more.
    modify(serial, [](TokenState& s) { s.moduleFaults.push_back({"C_Login", 0xA0, 0, -1}); });
    clearLogs();
    EXPECT_EQ(errorOf([&] { t.format(params); }), "Something went wrong.");
    EXPECT_EQ(logged(0, "C_Login "), 26);
}

TEST_F(TokenCards, ManagerKeepsSlotOrderDropsTlsTokensAndFilters)
{
    add("full", 101, 3, false);
    add("class2", 102, 1, false);
    add("tls", 103, 2, false);
    add("no-flash", 104, 4, false);
    const std::vector<std::pair<std::shared_ptr<BaseTokenFilter>, std::vector<std::uint64_t>>> cases{
        {std::make_shared<AnyTokenFilter>(), {102, 101, 104}},
        {std::make_shared<SingleTokenFilter>(103), {}},
        {std::make_shared<ExcludeTokenFilter>(std::vector<unsigned long long>{101, 104}), {102}}};
    for (const auto& [filter, expected] : cases) {
        manager().setFilter(filter);
        std::vector<std::uint64_t> serials;
        for (const auto& token : manager().getTokens()) {
            serials.push_back(token.getSerialNumber());
        }
        EXPECT_EQ(serials, expected);
    }
    // The TLS token's serial is never read.
    EXPECT_EQ(logged(0, "C_EX_GetTokenInfoExtended slot=2 "), 0);
    const auto rows = manager().getAvailableTokensInfo();
    EXPECT_EQ(std::make_pair(rows.at(0).model, rows.at(0).serialNumber),
              std::make_pair(std::string("02.01.01.03 Mosk"), 102UL));
}

} // namespace
