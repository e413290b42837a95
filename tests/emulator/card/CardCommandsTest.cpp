// The card's answers byte by byte, in process: no pcscd, one token in a scratch state directory.
#include "CardApplication.h"

#include <qvtoken-core/TokenPresets.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace qvcard {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t serial = 258;
const std::string adminLogin = "00 20 00 01 08 35 39 33 30 32 38 31 34";
const std::string userLogin = "00 20 00 02 08 34 30 34 31 37 32 36 33";
const std::string selectDirectory = "00 A4 08 04 06 10 00 10 00 60 05 00";
const std::string twoSections = "80 53 10 00 2C "
                                "80 14 01 03 0B B8 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00 "
                                "80 14 02 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00";
const std::string mva3Template = "62 27 82 04 14 00 00 64 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 "
                                 "86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00";
const std::string pin5Template = "62 25 80 02 00 20 82 02 10 00 83 02 00 05 86 0F 43 01 04 00 00 00 00 FF "
                                 "00 05 00 00 00 00 00 85 06 21 06 00 AA 00 00";
const std::string record = "80 02 00 0B A5 0B 44 3A 41 42 43 7C 50 3A 58 59 5A";

std::string lc(const std::string& data)
{
    return toSpacedHex({static_cast<std::uint8_t>(fromHex(data).size())});
}

class CardCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dir);
        qvtoken::TokenState token = qvtoken::makePreset("full");
        token.serial = serial;
        token.directory.clear();
        token.drive.sections.clear();
        token.drive.sizeMb = 4096;
        store.create(token);
        card.attach();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string send(const std::string& apdu) { return toSpacedHex(card.command(fromHex(apdu)).reply); }
    void change(const std::function<void(qvtoken::TokenState&)>& edit) { store.modify(serial, edit); }
    qvtoken::TokenState token() const { return *store.load(serial); }
    void addFault(const std::string& ins, const std::string& action, const std::string& argument, long count = 1,
                  unsigned long nth = 0)
    {
        change([&](auto& t) {
            qvtoken::CardFault fault;
            fault.ins = fromHex(ins)[0];
            fault.action = action;
            fault.argument = argument;
            fault.count = count;
            fault.nth = nth;
            t.cardFaults.push_back(fault);
        });
    }

    // One directory per test process: CTest runs these tests in parallel, other builds too.
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("qvcard-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    qvtoken::TokenStore store{dir};
    CardApplication card{store, serial, ApduLog(dir / "apdu.log")};
};

TEST_F(CardCommands, TokenFactsAndUnknownCommands)
{
    EXPECT_EQ(send("00 CA 01 81 08"), "00 00 00 00 00 00 01 02 90 00");
    EXPECT_EQ(send("80 71 00 00 00"), "40 05 04 03 00 00 05 90 00");
    EXPECT_EQ(send("80 53 12 00 04"), "00 00 10 00 90 00");
    EXPECT_EQ(send("00 CA 01 82 08"), "6A 88");
    EXPECT_EQ(send("00 99 00 00"), "6D 00");
    EXPECT_EQ(send("A0 CA 01 81 08"), "6E 00");
    EXPECT_EQ(send("00 20 00 01 08 31"), "67 00");
    EXPECT_EQ(send("00 C0 00 00 10"), "69 85");
    change([](auto& t) { t.card.extInfo.reset(); });
    EXPECT_EQ(send("80 71 00 00 00"), "6D 00");
}

TEST_F(CardCommands, VerifyCountsDownBlocksAndQueriesWithoutCounting)
{
    EXPECT_EQ(send("00 20 00 02 00"), "63 CA");
    EXPECT_EQ(send("00 20 00 02"), "63 CA");
    EXPECT_EQ(send("00 20 00 02 02 31 32"), "63 C9");
    EXPECT_EQ(send("00 20 00 02 02 31 32"), "63 C8");
    EXPECT_EQ(send(userLogin), "90 00");
    EXPECT_EQ(send("00 20 00 02 00"), "63 CA");
    change([](auto& t) { t.userPin.triesLeft = 1; });
    EXPECT_EQ(send("00 20 00 02 02 31 32"), "63 C0");
    EXPECT_EQ(send(userLogin), "69 83");
    EXPECT_EQ(send("00 20 00 02 00"), "69 83");
    EXPECT_EQ(send("00 20 00 87 00"), "6A 88");
    EXPECT_EQ(send("00 2C 03 02"), "69 82");
    EXPECT_EQ(send(adminLogin), "90 00");
    EXPECT_EQ(send("00 2C 03 02"), "90 00");
    EXPECT_EQ(token().userPin.triesLeft, 10u);
    EXPECT_EQ(send("80 40 00 00"), "90 00");
    EXPECT_EQ(send("00 2C 03 02"), "69 82");
}

TEST_F(CardCommands, SplitKeepsJournalsAndEncodesSizes)
{
    EXPECT_EQ(send(twoSections), "69 82");
    send(adminLogin);
    EXPECT_EQ(send(twoSections), "90 00");
    EXPECT_EQ(send("80 53 11 00 00"), twoSections.substr(15) + " 90 00");
    // The journal is kept and renumbered after the new user section; 74565 reads back as 74560.
    const std::string sized = "80 14 01 09 24 68 00 3F 06 06 06 06 06 06 00 05 05 05 05 05 05 00";
    change([](auto& t) { t.drive.sizeMb = 80000; });
    EXPECT_EQ(send("80 53 10 00 16 " + sized), "90 00");
    EXPECT_EQ(token().drive.sections.at(0).size, 74560u);
    EXPECT_EQ(send("80 53 11 00 00"),
              sized + " 80 14 02 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00 90 00");
    // Too large, a second journal, a section number out of order.
    EXPECT_EQ(send("80 53 10 00 16 80 14 01 0B FF FF 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00"), "6A 84");
    EXPECT_EQ(send("80 53 10 00 16 80 14 01 00 02 00 01 3F FF 01 FF FF FF FF 00 00 00 00 00 00 00 00"), "6A 80");
    EXPECT_EQ(send("80 53 10 00 16 80 14 02 03 0B B8 00 3F 02 02 02 02 02 02 00 00 00 00 00 00 00 00"), "6A 80");
}

TEST_F(CardCommands, ChangeAccessNeedsRoleAndSecretOfItsOperation)
{
    send(adminLogin);
    send(twoSections);
    send("80 40 00 00");
    EXPECT_EQ(send("80 53 11 02 04 82 02 01 05"), "69 82");
    EXPECT_EQ(send("80 53 11 02 04 82 02 09 05"), "6A 88");
    EXPECT_EQ(send("80 53 11 01 04 82 02 01 05"), "6A 86");
    EXPECT_EQ(send("80 53 11 02 04 82 02 01 02"), "6A 80");
    send(userLogin);
    EXPECT_EQ(send("80 53 11 02 04 82 02 01 05"), "90 00");
    EXPECT_EQ(send("80 53 11 02 04 82 02 02 01"), "69 85");
    EXPECT_EQ(send("80 53 11 01 04 82 02 02 01"), "69 82");
    send(adminLogin);
    EXPECT_EQ(send("80 53 11 01 04 82 02 02 01"), "90 00");
    EXPECT_EQ(send("80 53 11 00 00").substr(9, 2), "05");
    EXPECT_EQ(send("80 53 11 00 00").substr(75, 2), "01");
    // A local-secret owner: user AND local 5.
    change([](auto& t) { t.drive.sections[0].conditions = Bytes(6, 0x06), t.drive.sections[0].secrets = Bytes(6, 5); });
    EXPECT_EQ(send("80 53 11 02 04 82 02 01 03"), "69 82");
    EXPECT_EQ(send("80 53 14 00"), "90 00");
    EXPECT_TRUE(card.command(fromHex("80 53 14 00")).leaveBus);
}

TEST_F(CardCommands, CreateWalkAndSelectTheLoginDirectory)
{
    EXPECT_EQ(send("00 A4 00 04 00"), "6A 82");
    EXPECT_EQ(send(selectDirectory), "62 0A 82 01 38 83 02 60 05 8A 01 05 90 00");
    EXPECT_EQ(send("00 A4 00 04 00"), "6A 82");
    EXPECT_EQ(send("00 E0 00 00 29 " + mva3Template), "69 82");
    send(userLogin);
    EXPECT_EQ(send("00 E0 00 00 27 " + pin5Template), "90 00");
    // First value without any right other than having created the file in this session.
    send("80 40 00 00");
    EXPECT_EQ(send("00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 36"), "90 00");
    EXPECT_EQ(send("00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 37"), "69 82");
    EXPECT_EQ(send("00 20 00 85 06 31 32 33 34 35 36"), "90 00");
    EXPECT_EQ(send("00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 37"), "90 00");
    EXPECT_EQ(send("00 24 01 00 09 80 02 00 03 A6 03 31 32 33"), "6A 80");

    send(adminLogin);
    send(selectDirectory);
    EXPECT_EQ(send("00 E0 00 00 29 " + mva3Template), "90 00");
    EXPECT_EQ(send("00 E0 00 00 29 " + mva3Template), "6A 89");
    change([](auto& t) {
        t.findMva(3)->records = {{0x01, fromHex("4142")}, {0x03, {}}};
        t.findLocalPin(5)->pin.triesLeft = 7;
    });
    const std::string mvaFcp = "62 31 82 05 14 00 00 64 02 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 "
                               "86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00 8F 01 81 A5 04 C0 02 01 03 90 00";
    const std::string pinFcp = "62 25 80 02 00 20 82 02 10 00 83 02 00 05 86 0F 43 01 04 00 00 00 00 FF 00 05 "
                               "00 00 00 00 00 85 06 21 06 00 A7 00 00 90 00";
    EXPECT_EQ(send("00 A4 08 04 08 10 00 10 00 60 05 00 03 00"), mvaFcp);
    EXPECT_EQ(send("00 A4 00 04 00"), pinFcp);
    EXPECT_EQ(send("00 A4 00 06 02 00 05 00"), mvaFcp);
    EXPECT_EQ(send("00 A4 00 06 02 00 03 00"), "6A 82");
    EXPECT_EQ(send("00 A4 00 06 02 00 09 00"), "6A 82");
    EXPECT_EQ(send("00 A4 08 04 08 10 00 10 00 60 05 00 09 00"), "6A 82");
}

TEST_F(CardCommands, CreateFileRefusesEveryWrongTemplateByte)
{
    send(adminLogin);
    send(selectDirectory);
    for (const std::string& good : {mva3Template, pin5Template}) {
        const Bytes bytes = fromHex(good);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            Bytes bad = bytes;
            bad[i] ^= 0x40;
            EXPECT_EQ(send("00 E0 00 00 " + lc(toSpacedHex(bad)) + " " + toSpacedHex(bad)), "6A 80")
                << good << " byte " << i;
        }
    }
    EXPECT_TRUE(token().directory.empty());
}

TEST_F(CardCommands, RecordsAppendUpdateEraseAndVerify)
{
    send(adminLogin);
    send(selectDirectory);
    send("00 E0 00 00 29 " + mva3Template);
    EXPECT_EQ(send("00 E2 00 00 11 " + record), "90 00");
    EXPECT_EQ(send("00 E2 00 00 11 " + record), "90 00");
    EXPECT_EQ(send("00 0C 02 04"), "90 00");
    EXPECT_EQ(send("00 DC 03 04 11 " + record), "6A 83");
    EXPECT_EQ(send("00 DC 02 04 08 80 02 00 02 A5 02 41 42"), "90 00");
    EXPECT_EQ(send("00 20 00 83 02 41 42"), "90 00");
    EXPECT_EQ(send("00 20 00 83 02 41 43"), "63 C4");
    change([](auto& t) { t.findMva(3)->triesLeft = 0; });
    EXPECT_EQ(send("00 20 00 83 02 41 42"), "69 83");
    EXPECT_EQ(send("00 2C 03 83"), "90 00");
    EXPECT_EQ(send("00 20 00 83 00"), "63 C5");
    EXPECT_EQ(send("00 2C 03 84"), "6A 88");
    change([](auto& t) { t.findMva(3)->recordSize = 5; });
    EXPECT_EQ(send("00 E2 00 00 11 " + record), "67 00");
    change([](auto& t) { t.findMva(3)->recordSize = 100, t.findMva(3)->maxRecords = 2; });
    EXPECT_EQ(send("00 E2 00 00 11 " + record), "63 81");
    EXPECT_EQ(send("00 0C 01 05"), "90 00");
    EXPECT_EQ(token().findMva(3)->records.at(1).status, 0x03);
    send("80 40 00 00");
    EXPECT_EQ(send("00 0C 01 05"), "69 82");
}

TEST_F(CardCommands, JournalChunksReassembleWithRawLengths)
{
    const std::string empty4 = "80 02 00 22 A5 22 C1 04 4E 4F 4E 45 C2 04 4E 4F 4E 45 C3 04 4E 4F 4E 45 "
                               "C4 04 4E 4F 4E 45 C5 08 00 00 00 00 00 00 00 00";
    EXPECT_EQ(send("00 DA 01 7C 28 " + empty4), "69 85");
    change([](auto& t) { t.drive.sections.push_back({1, 1, 512, 0, 0x3F, Bytes(6, 0xFF), Bytes(6, 0), {}}); });
    EXPECT_EQ(send("00 DA 01 7C 28 " + empty4), "90 00");
    // A 130-byte user name: its length byte is 82, a raw length, cut across two chunks.
    Bytes stream = fromHex("C1 82");
    stream.resize(2 + 130, 0x55);
    const Bytes tail = fromHex("C2 01 44 C3 01 4F C4 01 45 C5 08 FF FF FF FF FF FF FF FE");
    stream.insert(stream.end(), tail.begin(), tail.end());
    const Bytes first(stream.begin(), stream.begin() + 100);
    const Bytes rest(stream.begin() + 100, stream.end());
    const std::string head =
        "80 02 00 " + toSpacedHex({static_cast<std::uint8_t>(stream.size())}) + " A5 64 " + toSpacedHex(first);
    EXPECT_EQ(send("10 DA 01 7C " + lc(head) + " " + head), "90 00");
    const std::string more = "A5 " + lc(toSpacedHex(rest)) + " " + toSpacedHex(rest);
    EXPECT_EQ(send("00 DA 01 7C " + lc(more) + " " + more), "90 00");
    const auto journal = token().card.journal;
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1].user, std::string(130, 'U'));
    EXPECT_EQ(journal[1].time, -2);
    // A chain broken by another command, a later chunk without a chain, a wrong total.
    EXPECT_EQ(send("10 DA 01 7C " + lc(head) + " " + head), "90 00");
    send("00 CA 01 81 08");
    EXPECT_EQ(send("00 DA 01 7C " + lc(more) + " " + more), "68 83");
    EXPECT_EQ(send("00 DA 01 7C 28 80 02 00 23" + empty4.substr(11)), "6A 80");
    EXPECT_EQ(token().card.journal.size(), 2u);
}

TEST_F(CardCommands, TZeroAndChunkedAnswersGoThroughGetResponse)
{
    change([](auto& t) {
        t.card.protocol = "t0";
        t.drive.sections.push_back({1, 0, 3000, 3, 0x3F, Bytes(6, 2), Bytes(6, 0), {}});
        t.drive.sections.push_back({2, 1, 512, 0, 0x3F, Bytes(6, 0xFF), Bytes(6, 0), {}});
    });
    send(selectDirectory);
    EXPECT_EQ(send("80 53 11 00 00"), "6C 2C");
    EXPECT_EQ(send("80 53 11 00 2C").size(), 44u * 3 + 5);
    EXPECT_EQ(send("00 A4 08 04 06 10 00 10 00 60 05"), "61 0C");
    EXPECT_EQ(send("00 C0 00 00 0C"), "62 0A 82 01 38 83 02 60 05 8A 01 05 90 00");
    EXPECT_EQ(send("00 C0 00 00 0C"), "69 85");
    // 250 records make an FCP of more than 256 bytes: 61 00, then the rest.
    change([](auto& t) {
        qvtoken::MvaFile mva;
        mva.id = 3, mva.recordSize = 1, mva.maxRecords = 254, mva.records.assign(250, {0x01, {0x41}});
        t.directory.push_back(mva);
        t.card.chunk = 0;
    });
    EXPECT_EQ(send("00 A4 08 04 08 10 00 10 00 60 05 00 03"), "61 00");
    const std::string first = send("00 C0 00 00 00");
    EXPECT_EQ(first.substr(0, 15), "62 82 01 2B 82 ");
    EXPECT_EQ(first.substr(first.size() - 5), "61 2F");
    EXPECT_EQ(send("00 C0 00 00 2F").size(), 49u * 3 - 1);
    change([](auto& t) { t.card.protocol = "t1", t.card.chunk = 16; });
    const std::string part = send("80 53 11 00 00");
    EXPECT_EQ(part.substr(part.size() - 5), "61 10");
    EXPECT_EQ(send("00 C0 00 00 10").substr(48), "61 0C");
}

TEST_F(CardCommands, FaultRulesFireCountAndWaitForReplug)
{
    addFault("CA", "sw", "6A82");
    EXPECT_EQ(send("00 CA 01 81 08"), "6A 82");
    EXPECT_EQ(send("00 CA 01 81 08"), "00 00 00 00 00 00 01 02 90 00");
    addFault("CA", "reply", "90", 1, 2);
    EXPECT_EQ(send("00 CA 01 81 08"), "00 00 00 00 00 00 01 02 90 00");
    EXPECT_EQ(send("00 CA 01 81 08"), "90");
    addFault("C0", "sw", "6110", -1);
    change([](auto& t) { t.card.chunk = 4; });
    EXPECT_EQ(send("80 71 00 00 00"), "40 05 04 03 61 03");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(send("00 C0 00 00 10"), "61 10");
    }
    change([](auto& t) {
        t.cardFaults.clear();
        t.card.chunk = 0;
    });
    addFault("71", "close", "");
    EXPECT_TRUE(card.command(fromHex("80 71 00 00 00")).close);
    change([](auto& t) {
        qvtoken::CardFault fault;
        fault.ins = 0xCA, fault.action = "sw", fault.argument = "6F00", fault.afterReplug = true;
        t.cardFaults.push_back(fault);
    });
    EXPECT_EQ(send("00 CA 01 81 08"), "00 00 00 00 00 00 01 02 90 00");
    card.replug();
    EXPECT_EQ(send("00 CA 01 81 08"), "6F 00");
}

TEST_F(CardCommands, FaultActionsShapeTheAnswer)
{
    addFault("71", "6C", "05");
    EXPECT_EQ(send("80 71 00 00 00"), "6C 05");
    EXPECT_EQ(send("80 71 00 00 05"), "40 05 04 03 00 61 02");
    addFault("71", "61-chunk", "3");
    EXPECT_EQ(send("80 71 00 00 00"), "40 05 04 61 03");
    EXPECT_EQ(send("00 C0 00 00 03"), "03 00 00 61 01");
    EXPECT_EQ(send("00 C0 00 00 01"), "05 90 00");
    addFault("CA", "delay", "150");
    const Exchange delayed = card.command(fromHex("00 CA 01 81 08"));
    EXPECT_EQ(delayed.delay.count(), 150);
    EXPECT_EQ(toSpacedHex(delayed.reply), "00 00 00 00 00 00 01 02 90 00");
    addFault("53", "no-replug", "");
    const Exchange gone = card.command(fromHex("80 53 14 00"));
    EXPECT_TRUE(gone.leaveBus && gone.never);
    addFault("53", "replug-serial", "4660");
    EXPECT_TRUE(card.command(fromHex("80 53 14 00")).leaveBus);
    EXPECT_EQ(send("00 CA 01 81 08"), "00 00 00 00 00 00 12 34 90 00");
    change([](auto& t) {
        qvtoken::CardFault atr;
        atr.control = 0x04, atr.action = "reply", atr.argument = "3B 84 80 01 51 76 53 43 32";
        t.cardFaults.push_back(atr);
    });
    EXPECT_EQ(toSpacedHex(card.control(0x04).reply), "3B 84 80 01 51 76 53 43 32");
    EXPECT_EQ(toSpacedHex(card.control(0x04).reply), toSpacedHex(card.attach()));
}

} // namespace
} // namespace qvcard
