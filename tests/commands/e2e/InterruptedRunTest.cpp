// A run that a signal interrupts while a token's card holds a freshly generated PIN: the PIN
// reaches the operator, whether the run finishes its tokens or a second signal ends it at once.
#include "TokenCommandTest.h"
#include "runningProcesses.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kLocalPin = "11112222";
const std::string kNotice = "Interrupted: the tokens at work finish their operation, no other token is begun; a "
                            "second signal ends the run at once.\n";

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
            ASSERT_TRUE(tokens.holdAnswer(serial, "24", hold(serial)));
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
        // Let go only once the signal is taken: a hold let go first could end the run before.
        ASSERT_TRUE(waitUntil([&] { return run.read(run.scratch() / "err") == kNotice; }));
        if (c.twice) {
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

// A snapshot's profiler hangs while the run is interrupted. A terminal's ^C reaches the whole
// foreground group, yet the profiler finishes once it answers, and its token's operation with it;
// a second signal, or one outside a run, ends the program and every process of the pipeline.
TEST_F(TokenCommandTest, AnInterruptedRunLeavesNoProcessOfItsSnapshotBehind)
{
    setenv("QV_HOST_ROOT", QV_TEST_HOSTS "/workstation", 1);
    scene.add(kSerial, true);
    const auto created = qvadmin.run({"create-mva", "-p", kAdminPin});
    std::smatch id;
    ASSERT_TRUE(std::regex_match(created.out, id, std::regex(".*, MVA id: (\\d+)\nstatus: success\n")));
    ASSERT_EQ(qvadmin.run({"format-drive", "-p", kAdminPin, "--volume", "100:rw:user", "50:h:mva-" + id[1].str()}).out,
              kSuccess);
    ASSERT_EQ(qvadmin.run({"add-pc-to-mva", "-p", kAdminPin, "--mva-id", id[1]}).out, kSuccess);
    // The same host, but the profiler reads the NVMe drive's serial number from a FIFO: it waits
    // there until the test writes.
    const auto host = qvadmin.scratch() / "host";
    std::filesystem::copy(QV_TEST_HOSTS "/workstation", host,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
    const auto serial = host / "sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/serial";
    const std::string serialText = qvadmin.read(serial);
    setenv("QV_HOST_ROOT", host.c_str(), 1);
    // A guard against a run that never ends, not a wait: under the sanitizers on a loaded machine
    // the once-signalled run alone takes 4 s to finish its snapshot, token and exit.
    qvadmin.limitRunTime(std::chrono::seconds(20));

    // Once and twice during a run; once outside it, where add-pc-to-mva takes its snapshot before
    // any token: the signal ends the program at once.
    for (const std::string way : {"once", "twice", "outside"}) {
        SCOPED_TRACE(way);
        const bool outside = way == "outside";
        std::filesystem::remove(serial);
        ASSERT_EQ(mkfifo(serial.c_str(), 0600), 0);
        const pid_t started =
            qvadmin.start(outside ? std::vector<std::string>{"add-pc-to-mva", "-p", kAdminPin, "--mva-id", id[1]}
                                  : std::vector<std::string>{"set-volume-access-mode", "--no-pins", "--volume-id", "2",
                                                             "--new-mode", "r"},
                          {}, [] { setpgid(0, 0); });
        // A writer can open the FIFO once the profiler has opened it to read.
        int writer = -1;
        EXPECT_TRUE(waitUntil([&] { return (writer = open(serial.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }));
        pid_t pipeline = 0;
        for (const auto& process : runningProcesses()) {
            if (process.parent == started) {
                pipeline = process.group;
            }
        }
        EXPECT_NE(pipeline, 0);
        EXPECT_NE(pipeline, started);
        if (outside) {
            kill(started, SIGTERM);
            EXPECT_EQ(qvadmin.finish(started).status, -1);
            EXPECT_TRUE(groupEnds(pipeline));
            close(writer);
            continue;
        }
        kill(-started, SIGINT);
        EXPECT_TRUE(waitUntil([&] { return qvadmin.read(qvadmin.scratch() / "err") == kNotice; }));
        if (way == "twice") {
            kill(started, SIGTERM);
            EXPECT_EQ(
                qvadmin.finish(started),
                (CommandResult{128 + SIGTERM, "",
                               kNotice + "Run ended by a second signal: the tokens at work were not waited for.\n"}));
            EXPECT_TRUE(groupEnds(pipeline));
            close(writer);
        } else {
            // The profilers of the other data types find a plain file.
            std::ofstream(host / "serial") << serialText;
            std::filesystem::rename(host / "serial", serial);
            EXPECT_EQ(write(writer, serialText.data(), serialText.size()), static_cast<ssize_t>(serialText.size()));
            close(writer);
            EXPECT_EQ(qvadmin.finish(started), (CommandResult{128 + SIGINT, kSuccess, kNotice}));
        }
    }
    unsetenv("QV_HOST_ROOT");
}

} // namespace
