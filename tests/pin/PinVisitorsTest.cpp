#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/internalError.h"
#include "cli/runSignals.h"
#include "logging/BaseLogger.h"
#include "pin/ApplyPinVisitor.h"
#include "pin/CheckOptionsVisitor.h"
#include "pin/GenerateInputMode.h"
#include "pin/OptionsInputMode.h"
#include "pkcs11/Pkcs11Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace po = boost::program_options;

namespace {

using CharsSet = PinGenSettingsElement::CharsSet;

class PinRecordLogger : public logging::BaseLogger {
public:
    void add(const logging::CommandRecord&) override {}
    void add(const logging::OperationRecord&) override {}
    void add(std::uint64_t serial, const logging::PinRecord& record) override
    {
        EXPECT_EQ(serial, 42u);
        records.push_back(record);
    }
    void add(std::uint64_t, const logging::MvaIdRecord&) override {}
    void add(std::uint64_t, const logging::LocalPinIdRecord&) override {}
    void addError(std::uint64_t, const std::string&) override {}
    void flush(std::uint64_t) override {}
    int getError() override { return 0; }

    std::vector<logging::PinRecord> records;
};

void put(po::variables_map& variables, const std::string& key, boost::any value, bool defaulted = false)
{
    variables.insert({key, po::variable_value(std::move(value), defaulted)});
}

class ApplyPinVisitorTest : public testing::Test {
protected:
    // Refuses the first `refusals` PINs, with the two refusals in turn, then accepts.
    void refuse(int refusals)
    {
        apply_ = [this, refusals](const std::string& pin) {
            applied_.push_back(pin);
            const auto count = static_cast<int>(applied_.size());
            if (count <= refusals && count % 2 == 1) {
                throw quorvik::pkcs11::PinInHistoryException();
            }
            if (count <= refusals) {
                throw quorvik::pkcs11::InappropriatePinException();
            }
            return std::string("user");
        };
    }

    void visitGenerated(const std::vector<PinGenSettingsElement>& settings, std::optional<PinPolicy> policy = {})
    {
        GenerateInputMode mode("gen-settings");
        po::variables_map variables;
        put(variables, "gen-settings", settings);
        mode.prepare("new user PIN", variables);
        ApplyPinVisitor::Params params{42, "new-pin", "user",
                                       [this] {
                                           ++lengthCalls_;
                                           return PinLengths{6, 32};
                                       },
                                       [policy] { return policy; }};
        ApplyPinVisitor visitor(params, apply_, logger_);
        visitor.visit(mode);
    }

    std::function<std::string(const std::string&)> apply_;
    std::vector<std::string> applied_;
    int lengthCalls_ = 0;
    std::shared_ptr<PinRecordLogger> logger_ = std::make_shared<PinRecordLogger>();
};

TEST_F(ApplyPinVisitorTest, OnlyRefusedGeneratedPinsAreRegeneratedSixTimesAtMost)
{
    refuse(6);
    visitGenerated({CharsSet::Digits});
    ASSERT_EQ(applied_.size(), 7u);
    ASSERT_EQ(logger_->records.size(), 1u);
    EXPECT_EQ(logger_->records[0].name, "new-pin");
    EXPECT_EQ(logger_->records[0].pinType, "user");
    EXPECT_EQ(logger_->records[0].value, applied_.back());
    EXPECT_EQ(applied_.back().size(), 6u);
    EXPECT_EQ(lengthCalls_, 1);

    applied_.clear();
    logger_->records.clear();
    refuse(7);
    EXPECT_THROW(visitGenerated({}), PinRegenerationError);
    EXPECT_EQ(applied_.size(), 7u);
    EXPECT_TRUE(logger_->records.empty());

    // Any other error leaves at once.
    applied_.clear();
    apply_ = [this](const std::string& pin) -> std::string {
        applied_.push_back(pin);
        throw quorvik::pkcs11::PinIncorrectException();
    };
    EXPECT_THROW(visitGenerated({}), quorvik::pkcs11::PinIncorrectException);
    EXPECT_EQ(applied_.size(), 1u);
    EXPECT_THROW(visitGenerated({PinGenSettingsElement(4ull)}), TooShortGeneratedPinLength);
    EXPECT_EQ(applied_.size(), 1u);
}

// A second signal comes while the token refuses a generated PIN and both streams stall, so the
// write-out passes the PIN's line and waits: the token must send no regenerated PIN.
TEST_F(ApplyPinVisitorTest, NoPinIsSentOnceASecondSignalHasCome)
{
    const std::string notice = "Interrupted: the tokens at work finish their operation, no other token is begun; a "
                               "second signal ends the run at once.\n";
    EXPECT_EXIT(
        {
            // Full once the first signal's notice is in: every later write waits.
            int stalled[2];
            const int size = pipe(stalled) == 0 ? fcntl(stalled[1], F_GETPIPE_SZ) : -1;
            const auto room = static_cast<std::size_t>(std::max(size, 0)) - notice.size();
            if (size <= 0 || write(stalled[1], std::string(room, '.').data(), room) != static_cast<ssize_t>(room)) {
                _exit(3);
            }
            dup2(stalled[1], STDOUT_FILENO);
            dup2(stalled[1], STDERR_FILENO);
            run_signals::catchDuringRun();
            apply_ = [this](const std::string& pin) -> std::string {
                applied_.push_back(pin);
                if (applied_.size() > 1) {
                    _exit(1);
                }
                kill(getpid(), SIGINT);
                kill(getpid(), SIGTERM);
                for (int i = 0; i < 1000 && !run_signals::endingAtOnce(); ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                throw quorvik::pkcs11::PinInHistoryException();
            };
            try {
                visitGenerated({CharsSet::Digits});
            } catch (const RunEndedError&) {
                _exit(0);
            }
            _exit(2);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(ApplyPinVisitorTest, PolicyIsCheckedBeforeAnythingIsGenerated)
{
    refuse(0);
    PinPolicy policy;
    policy.digitRequired = true;
    policy.specCharRequired = true;
    const std::vector<PinGenSettingsElement> missing[] = {
        {CharsSet::LowerLetters, CharsSet::UpperLetters, CharsSet::Digits},
        {CharsSet::SpecChars},
        // Generation would use all four sets, yet none is named.
        {},
    };
    for (const auto& settings : missing) {
        EXPECT_THROW(visitGenerated(settings, policy), GenSettingsMissingError);
    }
    EXPECT_TRUE(applied_.empty());
    EXPECT_EQ(lengthCalls_, 0);

    visitGenerated({CharsSet::SpecChars, CharsSet::Digits}, policy);
    EXPECT_EQ(applied_.size(), 1u);
}

TEST_F(ApplyPinVisitorTest, GivenPinIsAppliedAndLoggedWithoutValueOrMinimumLength)
{
    refuse(0);
    OptionsInputMode mode("new-pin");
    po::variables_map variables;
    put(variables, "new-pin", std::string("1234"));
    mode.prepare("new user PIN", variables);
    // A token without the objects that give a minimum length still takes a given PIN.
    ApplyPinVisitor::Params params{42, "new-pin", "user", []() -> PinLengths { throw NoPinPolicyError(); }};
    ApplyPinVisitor visitor(params, apply_, logger_);
    visitor.visit(static_cast<BaseInputMode&>(mode));
    EXPECT_EQ(applied_, std::vector<std::string>{"1234"});
    ASSERT_EQ(logger_->records.size(), 1u);
    EXPECT_FALSE(logger_->records[0].value.has_value());
}

TEST(CheckOptionsVisitorTest, OnlyAPinFileGivenOnTheCommandLineNeedsAGeneratedPin)
{
    // PIN file given (or only configured), whether a PIN is generated, whether refused.
    const std::tuple<bool, bool, bool, bool> cases[] = {{false, false, false, false},
                                                        {true, false, false, true},
                                                        {true, false, true, false},
                                                        {true, true, false, false}};
    for (const auto& [pinFile, configured, generate, refused] : cases) {
        po::variables_map variables;
        if (pinFile) {
            put(variables, "pin-file", std::string("pins.txt"), configured);
        }
        CheckOptionsVisitor check(variables);
        OptionsInputMode given("auth-pin");
        GenerateInputMode generated("gen-settings");
        given.accept(check);
        if (generate) {
            generated.accept(check);
        }
        bool thrown = false;
        try {
            check.check();
        } catch (const PinFileNotAllowedError&) {
            thrown = true;
        }
        EXPECT_EQ(thrown, refused) << pinFile << configured << generate;
    }
}

} // namespace
