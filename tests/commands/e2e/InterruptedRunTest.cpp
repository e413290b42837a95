// A run that a signal interrupts while a token's card holds a freshly generated PIN: the PIN
// reaches the operator, whether the run finishes its tokens or a second signal ends it at once.
#include "TokenCommandTest.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

const std::string kLocalPin = "11112222";
const std::string kNotice = "Interrupted: the tokens at work finish their operation, no other token is begun; a "
                            "second signal ends the run at once.\n";

// Waits, bounded, until `done` holds.
template <typename Done>
bool waitUntil(const Done& done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST_F(TokenCommandTest, AnInterruptedRunHandsOutEveryPinItsTokensTook)
{
    struct Case {
        int signal;
        bool parallel;
        // A second signal follows while the card still keeps its answer back.
        bool twice;
    };
    const Case cases[] = {
        {SIGINT, false, false}, {SIGHUP, false, false}, {SIGTERM, false, false}, {SIGINT, true, false},
        {SIGHUP, true, false},  {SIGTERM, true, false}, {SIGINT, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.parallel ? ", parallel" : "") + (c.twice ? ", twice" : ""));
        TokenScene tokens;
        CommandRun run;
        std::vector<std::string> args{"set-local-pin", "-i", "4", "-p", kLocalPin, "-N", "generate"};
        std::vector<std::string> create{"create-local-pin", "-p",       kUserPin,       "-n",
                                        kLocalPin,          "--no-log", "--no-pin-file"};
        tokens.add(kSerial, true);
        if (c.parallel) {
            tokens.add(kSerial + 1, true);
            args.push_back("--parallel");
            create.push_back("--parallel");
        }
        ASSERT_EQ(run.run(create).status, 0);
        // Each card takes the new PIN, then keeps its answer back while its token's hold file
        // exists; a run that waited for it after a second signal is killed and fails its row.
        const auto hold = [&run](std::uint64_t serial) { return run.scratch() / ("hold-" + std::to_string(serial)); };
        for (const auto serial : tokens.serials()) {
            std::ofstream(hold(serial)).close();
            ASSERT_EQ(std::system((std::string(QVTOKEN_PATH) + " card-fault " + std::to_string(serial) + " hold '" +
                                   hold(serial).string() + "' --ins 24 >/dev/null")
                                      .c_str()),
                      0);
        }
        run.limitRunTime(std::chrono::seconds(20));
        const auto heldPin = [&tokens](std::uint64_t serial) {
            return TokenScene::pinText(tokens.load(serial).findLocalPin(4)->pin);
        };

        const pid_t started = run.start(args);
        // The flash library works on one token at a time, so a card takes its PIN only once the
        // one before has its answer: each is let go but the last, which holds the run at work
        // while the signal comes.
        auto holding = tokens.serials();
        for (;;) {
            auto took = holding.end();
            ASSERT_TRUE(waitUntil([&] {
                took = std::find_if(holding.begin(), holding.end(),
                                    [&](std::uint64_t serial) { return heldPin(serial) != kLocalPin; });
                return took != holding.end();
            }));
            if (holding.size() == 1) {
                break;
            }
            std::filesystem::remove(hold(*took));
            holding.erase(took);
        }
        kill(started, c.signal);
        if (c.twice) {
            ASSERT_TRUE(waitUntil([&] { return run.read(run.scratch() / "err") == kNotice; }));
            kill(started, SIGTERM);
        } else {
            std::filesystem::remove(hold(holding.front()));
        }
        const auto result = run.finish(started);
        if (c.twice) {
            // Once the held answer is through, pcscd resets the card the killed run had. A card
            // that left before that would stay present to pcscd and hide the next row's card.
            const auto logged = tokens.cardLog(kSerial).size();
            std::filesystem::remove(hold(kSerial));
            EXPECT_TRUE(waitUntil(
                [&] { return tokens.cardLog(kSerial).find("control 02 (reset)", logged) != std::string::npos; }));
        }

        EXPECT_EQ(result.status, 128 + (c.twice ? SIGTERM : c.signal));
        const auto pinFile = run.read(run.folder() / "pin-file.txt");
        if (c.twice) {
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, kNotice + "Token " + std::to_string(kSerial) +
                                      ": the run was ended before the generated local-4 PIN was written out; the "
                                      "token may now hold this PIN: " +
                                      heldPin(kSerial) +
                                      "\nRun ended by a second signal: the tokens at work were not waited for.\n");
            EXPECT_EQ(pinFile, "");
            continue;
        }
        EXPECT_EQ(result.out, kSuccess);
        EXPECT_EQ(result.err, kNotice);
        for (const auto serial : tokens.serials()) {
            EXPECT_NE(pinFile.find("\n" + std::to_string(serial) + ";local-4;" + heldPin(serial) + "\n"),
                      std::string::npos)
                << pinFile;
        }
    }
}

} // namespace
