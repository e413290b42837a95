// The tool's token over the flash library: tokens whose cards pcscd serves.
#include "TokenCards.h"

#include "flash/getPcSnapshot.h"
#include "token/AnyTokenFilter.h"

#include <qvtoken-core/TokenPresets.h>

#include <cstdlib>
#include <future>
#include <sstream>

namespace {

using qvtoken::TokenState;

const std::string kAdminPin = qvtoken::defaultAdminPin;
const std::string kUserPin = qvtoken::defaultUserPin;

// The drive as "total id:size:mode:owners:type ...".
std::string describe(const std::optional<TokenDriveInfo>& drive)
{
    std::ostringstream text;
    text << drive->totalSize;
    for (const auto& v : drive->volumes) {
        text << ' ' << v.id << ':' << v.size << ':' << v.accessMode << ':' << v.owners << ':' << *v.sectionType;
    }
    return text.str();
}

VolumeParams volume(AccessMode mode, const std::string& owners, SectionType type = SectionType::UserFiles)
{
    VolumeParams params{type == SectionType::Journal ? 500U : 100U, mode, {}, type};
    std::istringstream(owners) >> params.owners;
    return params;
}

class FlashRoad : public TokenCards {
protected:
    // A snapshot of a fixed host, whatever this machine's disks are.
    void SetUp() override { setenv("QV_HOST_ROOT", QV_TEST_HOSTS "/workstation", 1); }
};

TEST_F(FlashRoad, FormatDriveProtectsEachVolumeByItsOwnersAfterCheckingTheSecrets)
{
    const auto serial = add("full", 71001, 1, true);
    auto t = token(serial);
    const auto mva = toString(t.createMva(kAdminPin, {2, 200, 10}));
    t.formatDrive({kAdminPin,
                   {volume(AccessMode::ReadWrite, "so"), volume(AccessMode::ReadOnly, "user"),
                    volume(AccessMode::Hidden, "local-3"), volume(AccessMode::ReadWrite, "user," + mva),
                    volume(AccessMode::Hidden, "none", SectionType::Journal)}});
    EXPECT_EQ(describe(t.getDriveInfo()),
              "524 1:100:rw:so:user-files 2:100:r:user:user-files 3:100:h:local-3:user-files "
              "4:100:rw:user," +
                  mva + ":user-files 5:500:h:none:journal");
    const std::vector<std::pair<std::string, std::string>> refused{
        {"local-9", "Couldn't find the specified secret."},
        {"local-" + mva.substr(4), "The specified object isn't a local user."},
        {"user,mva-3", "The specified object isn't an MVA."}};
    for (const auto& [owners, message] : refused) {
        EXPECT_EQ(errorOf([&] { t.formatDrive({kAdminPin, {volume(AccessMode::ReadWrite, owners)}}); }), message);
    }
    EXPECT_EQ(errorOf([&] {
                  t.formatDrive({"00000000", {volume(AccessMode::ReadWrite, "so")}});
              }),
              "Incorrect so PIN. Attempts left: 9.");
    EXPECT_EQ(state(serial).drive.sections.size(), 5U);
}

TEST_F(FlashRoad, VolumeAccessModeLogsEveryOwnerInAndJournalsTheHost)
{
    const auto serial = add("full", 71002, 1, true);
    auto t = token(serial);
    const auto mva = t.createMva(kAdminPin, {2, 200, 3});
    t.addSnapshotToMva(kAdminPin, {mva.get(), getPcSnapshot()});
    t.formatDrive({kAdminPin,
                   {volume(AccessMode::ReadWrite, "user"), volume(AccessMode::ReadWrite, toString(mva)),
                    volume(AccessMode::ReadWrite, "none"), volume(AccessMode::Hidden, "none", SectionType::Journal)}});
    const auto access = [&](unsigned number) {
        auto s = state(serial);
        return s.drive.currentAccess(*s.drive.findSection(number));
    };
    const auto change = [&](std::optional<std::string> pin, AccessMode mode, std::uint64_t id, bool permanent = true) {
        return errorOf([&] { t.setVolumeAccessMode({std::move(pin), mode, id, permanent}); });
    };
    EXPECT_EQ(change(kUserPin, AccessMode::Hidden, 2), "PIN is provided but not required.");
    EXPECT_EQ(change(std::nullopt, AccessMode::Hidden, 1), "PIN is required but not provided.");
    EXPECT_EQ(change("00000000", AccessMode::Hidden, 1), "Incorrect user PIN. Attempts left: 9.");
    EXPECT_EQ(state(serial).card.journal.size(), 1U);

    // A lasting change restarts the token, which ends temporary ones: it comes first.
    EXPECT_EQ(change(std::nullopt, AccessMode::Hidden, 2), "");
    EXPECT_EQ(change(kUserPin, AccessMode::ReadOnly, 1, false), "");
    EXPECT_EQ(change(std::nullopt, AccessMode::ReadOnly, 3, false), "");
    EXPECT_EQ(std::make_tuple(access(1), access(2), access(3), state(serial).card.journal.size()),
              std::make_tuple(1U, 0U, 1U, 4UL));

    // Only the low byte would name volume 1: no login, no change.
    clearLogs();
    EXPECT_EQ(change(kUserPin, AccessMode::ReadWrite, 257), "Selected volume doesn't exist.");
    EXPECT_EQ(std::make_pair(logged(serial, "->"), access(1)), std::make_pair(0L, 1U));

    t.clearMva(kAdminPin, mva.get());
    EXPECT_EQ(change(std::nullopt, AccessMode::ReadWrite, 2),
              "The host PC wasn't found in " + toString(mva) + ". Attempts left: 2.");
    modify(serial, [&](TokenState& s) { s.findMva(mva.get())->triesLeft = 0; });
    EXPECT_EQ(change(std::nullopt, AccessMode::ReadWrite, 2), toString(mva) + " is blocked.");
}

TEST_F(FlashRoad, DriveInfoIsTheSameOnBothRoads)
{
    add("full", 71003, 1, true);
    add("module-drive", 71004, 2, false);
    add("no-flash", 71005, 3, false);
    const auto flash = describe(token(71003).getDriveInfo());
    EXPECT_EQ(flash, "1024 1:512:rw:user:user-files 2:256:r:local-3:user-files 3:256:h:so:user-files");
    EXPECT_EQ(describe(token(71004).getDriveInfo()), flash);
    EXPECT_FALSE(token(71005).getDriveInfo());
}

TEST_F(FlashRoad, LocalPinsMvasAndUnblocking)
{
    const auto serial = add("full", 71006, 1, true);
    const auto pkcsSerial = add("no-flash", 71007, 2, false);
    auto t = token(serial);
    const auto local = t.createLocalPin({kUserPin, "24682468"});
    t.setLocalPin(local, {"24682468", "11223344"});
    EXPECT_EQ(state(serial).findLocalPin(local.get())->pin.value, qvtoken::bytesOf("11223344"));
    const auto unknown = LocalUserId(9);
    EXPECT_EQ(errorOf([&] {
                  t.setLocalPin(LocalUserId(3), {"00000000", "1"});
              }),
              "Incorrect local-3 PIN. Attempts left: 9.");
    // A refusal that does not tell the attempts left stays the library's.
    EXPECT_EQ(errorOf([&] { t.setLocalPin(LocalUserId(3), {"0", "1"}); }), "Qvflash: Login is incorrect");
    EXPECT_EQ(errorOf([&] { t.setLocalPin(unknown, {"0", "1"}); }), "Couldn't find the specified secret.");
    EXPECT_EQ(errorOf([&] { t.createLocalPin(unknown, {kUserPin, "1"}); }), "Secret id is provided but not required.");
    EXPECT_EQ(errorOf([&] { t.clearMva(kAdminPin, 30); }), "Couldn't find the specified secret.");
    const auto mva = t.createMva(kAdminPin, {4, 100, 5});
    EXPECT_NE(state(serial).findMva(mva.get()), nullptr);

    // Through the flash library only: no module login.
    modify(serial, [&](TokenState& s) {
        s.userPin.triesLeft = 1;
        s.findLocalPin(3)->pin.triesLeft = 2;
    });
    clearLogs();
    t.unblockPins(kAdminPin);
    auto s = state(serial);
    EXPECT_EQ(std::make_tuple(s.userPin.triesLeft, s.findLocalPin(3)->pin.triesLeft, logged(0, "C_Login ")),
              std::make_tuple(10UL, 10UL, 0L));

    auto p = token(pkcsSerial);
    EXPECT_EQ(errorOf([&] { p.createMva(kAdminPin, {}); }), "Operation isn't supported on tokens without MVA support.");
    EXPECT_EQ(errorOf([&] { p.createLocalPin({kUserPin, "1"}); }), "Secret id is required but not provided.");
    EXPECT_EQ(errorOf([&] { p.createLocalPin(LocalUserId(3), {kUserPin, "1"}); }), "Local PIN already exists.");
}

// One enumeration asks every card its serial once, and only when an operation needs the flash
// library; each token's handle costs the library's own opening (every card's serial and its
// own support query) once, then only what its operations send.
TEST_F(FlashRoad, AnEnumerationReadsTheFlashTokenListOnceAndOnlyWhenNeeded)
{
    const std::vector<std::uint64_t> serials{71020, 71021, 71022, 71023};
    for (unsigned i = 0; i < serials.size(); ++i) {
        add("full", serials[i], 1 + i, true);
    }
    manager().setFilter(std::make_shared<AnyTokenFilter>());
    clearLogs();
    auto tokens = manager().getTokens();
    const auto apdus = [&] {
        long sent = 0;
        for (const auto serial : serials) {
            sent += logged(serial, "->");
        }
        return sent;
    };
    for (auto& t : tokens) {
        t.getInfo();
        t.setLabel(kUserPin, "One road");
    }
    EXPECT_EQ(apdus(), 0);
    const long n = static_cast<long>(serials.size());
    std::vector<long> afterRounds;
    for (int round = 0; round < 2; ++round) {
        for (const auto& t : tokens) {
            t.getDriveInfo();
        }
        afterRounds.push_back(apdus());
    }
    EXPECT_EQ(afterRounds, (std::vector<long>{n + n * (n + 1 + 4), n + n * (n + 1 + 4) + n * 4}));
}

// Each thread owns its token, as under the parallel strategy.
TEST_F(FlashRoad, FourTokensOneThreadEach)
{
    for (unsigned i = 0; i < 4; ++i) {
        add("full", 71010 + i, 1 + i, true);
    }
    std::vector<std::future<void>> tasks;
    for (unsigned i = 0; i < 4; ++i) {
        tasks.push_back(std::async(std::launch::async, [i, t = token(71010 + i)]() mutable {
            t.setLabel(kUserPin, "Thread " + std::to_string(i));
            t.createMva(kAdminPin, {2, 10, 3});
            t.setVolumeAccessMode({kUserPin, AccessMode::Hidden, 1, true});
        }));
    }
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_NO_THROW(tasks[i].get());
        auto s = state(71010 + i);
        EXPECT_EQ(std::make_pair(s.label, s.drive.currentAccess(s.drive.sections.at(0))),
                  std::make_pair("Thread " + std::to_string(i), 0U));
    }
}

} // namespace
