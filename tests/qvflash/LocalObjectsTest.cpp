#include "ScriptedScard.h"
#include "thrownException.h"

#include <qvflash-core/apdu/RecordApdu.h>
#include <qvflash-core/local/LocalPinImpl.h>
#include <qvflash-core/local/MVAImpl.h>

#include <gtest/gtest.h>

#include <memory>

using qvfl::MVAImpl;

namespace {

const char kSelectMva7[] = "00 A4 08 04 08 10 00 10 00 60 05 00 07 00";

// The FCP of MVA 7 with these record states, as the card answers SELECT.
std::vector<std::uint8_t> mvaAnswer(const std::vector<std::uint8_t>& states)
{
    std::vector<std::uint8_t> body = hexBytes("82 05 14 00 00 F9 00 83 02 00 07 85 06 21 00 00 AA 00 00"
                                              " 86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00 8F 01 81");
    body[6] = static_cast<std::uint8_t>(states.size());
    // C0 and A5 with their lengths in the shortest BER form.
    const auto withLength = [](std::uint8_t tag, const std::vector<std::uint8_t>& value) {
        std::vector<std::uint8_t> tlv{tag};
        const std::size_t n = value.size();
        if (n > 0xFF) {
            tlv.insert(tlv.end(), {0x82, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
        } else if (n > 0x7F) {
            tlv.insert(tlv.end(), {0x81, static_cast<std::uint8_t>(n)});
        } else {
            tlv.push_back(static_cast<std::uint8_t>(n));
        }
        tlv.insert(tlv.end(), value.begin(), value.end());
        return tlv;
    };
    const std::vector<std::uint8_t> statusList = withLength(0xA5, withLength(0xC0, states));
    body.insert(body.end(), statusList.begin(), statusList.end());
    return withLength(0x62, body);
}

std::shared_ptr<ScriptedScard> mvaCard(const std::vector<std::uint8_t>& states)
{
    auto card = std::make_shared<ScriptedScard>();
    card->answers.push_back({0x9000, mvaAnswer(states)});
    return card;
}

std::string recordField(const std::vector<std::uint8_t>& record)
{
    return ScriptedScard::toHex(qvfl::recordDataField(record));
}

} // namespace

TEST(Mva, AddRecordFillsTheFirstEmptyRecordElseAppends)
{
    const std::vector<std::uint8_t> record = hexBytes("44 3A 41 42 43");
    auto gap = mvaCard({0x01, 0x03, 0x01});
    EXPECT_EQ(MVAImpl(gap, 7).addRecord(record), 2);
    EXPECT_EQ(gap->sentHex(),
              (std::vector<std::string>{kSelectMva7, "00 DC 02 04 0B 80 02 00 05 A5 05 44 3A 41 42 43"}));

    auto used = mvaCard({0x01, 0x01});
    EXPECT_EQ(MVAImpl(used, 7).addRecord(record), 3);
    EXPECT_EQ(used->sentHex().at(1), "00 E2 00 00 0B " + recordField(record));

    // 255 records in use: one past the last is 256, not record 0.
    auto full = mvaCard(std::vector<std::uint8_t>(255, 0x01));
    MVAImpl(full, 7).addRecord(record);
    EXPECT_EQ(full->sentHex().at(1).substr(0, 11), "00 E2 00 00");

    auto longest = mvaCard({});
    MVAImpl(longest, 7).addRecord(std::vector<std::uint8_t>(249, 0x41));
    EXPECT_EQ(longest->sentHex().at(1).substr(0, 14), "00 E2 00 00 FF");
    EXPECT_EQ(longest->lockDepth, 0);

    for (const std::size_t size : {0, 250}) {
        auto card = std::make_shared<ScriptedScard>();
        EXPECT_EQ(thrownException([&] { MVAImpl(card, 7).addRecord(std::vector<std::uint8_t>(size, 0x41)); }).code(),
                  QVFLASH_ST_INVALID_RECORD_SIZE);
        EXPECT_TRUE(card->sent.empty());
    }

    auto refused = mvaCard({0x01});
    refused->answer("63 81");
    EXPECT_EQ(thrownException([&] { MVAImpl(refused, 7).addRecord(record); }).code(), QVFLASH_ST_NO_SPACE_FOR_RECORD);
}

TEST(Mva, EraseClearAndUnblock)
{
    auto none = std::make_shared<ScriptedScard>();
    EXPECT_EQ(thrownException([&] { MVAImpl(none, 7).eraseRecordFromMva(0); }).code(), QVFLASH_ST_RECORD_NOT_FOUND);
    EXPECT_TRUE(none->sent.empty());

    auto three = mvaCard({0x01, 0x01, 0x01});
    EXPECT_EQ(thrownException([&] { MVAImpl(three, 7).eraseRecordFromMva(4); }).code(), QVFLASH_ST_RECORD_NOT_FOUND);
    EXPECT_EQ(three->sentHex(), std::vector<std::string>{kSelectMva7});

    auto erase = mvaCard({0x01, 0x03, 0x01});
    MVAImpl(erase, 7).eraseRecordFromMva(3);
    EXPECT_EQ(erase->sentHex().at(1), "00 0C 03 04");

    auto empty = mvaCard({});
    MVAImpl(empty, 7).clear();
    EXPECT_EQ(empty->sentHex(), std::vector<std::string>{kSelectMva7});
    auto filled = mvaCard({0x03, 0x01});
    MVAImpl(filled, 7).clear();
    EXPECT_EQ(filled->sentHex().at(1), "00 0C 01 05");

    auto unblock = std::make_shared<ScriptedScard>();
    MVAImpl(unblock, 7).unblock();
    EXPECT_EQ(unblock->sentHex(), std::vector<std::string>{"00 2C 03 87"});
}

TEST(LocalPin, ChangeAndUnblockCommands)
{
    auto card = std::make_shared<ScriptedScard>();
    qvfl::LocalPinImpl pin(card, 7);
    pin.changePin(hexBytes("31 32 33 34 35 36"));
    pin.unblock();
    EXPECT_EQ(card->sentHex(), (std::vector<std::string>{
                                   kSelectMva7, "00 24 01 00 0C 80 02 00 06 A6 06 31 32 33 34 35 36", "00 2C 03 87"}));

    auto refused = std::make_shared<ScriptedScard>();
    refused->answer("90 00");
    refused->answer("6F 8D");
    EXPECT_EQ(thrownException([&] { qvfl::LocalPinImpl(refused, 7).changePin(hexBytes("31 32 33 34 35 36")); }).code(),
              QVFLASH_ST_PIN_REUSE_ERROR);
}
