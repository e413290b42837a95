#include "ScriptedScard.h"
#include "thrownException.h"

#include <qvflash-core/local/LocalLoginDirectory.h>

#include <gtest/gtest.h>

#include <memory>

using qvfl::Condition;
using qvfl::Exception;
using qvfl::LocalLoginDirectory;
using qvfl::LocalSecretType;

namespace {

const char kSelectDirectory[] = "00 A4 08 04 06 10 00 10 00 60 05 00";
const char kSelectFirst[] = "00 A4 00 04 00";

std::string hexByte(unsigned value)
{
    return ScriptedScard::toHex({static_cast<std::uint8_t>(value)});
}

// The FCP of one directory entry, as SELECT answers it; record files also
// give their record size and count.
std::string entry(unsigned id, unsigned descriptor)
{
    const std::string fileId = "83 02 00 " + hexByte(id);
    if (descriptor == 0x14) {
        return "62 0B 82 05 14 00 00 40 00 " + fileId + " 90 00";
    }
    return "62 08 82 02 " + hexByte(descriptor) + " 00 " + fileId + " 90 00";
}

// A card whose directory lists these entries, then ends the listing.
std::shared_ptr<ScriptedScard> directory(std::initializer_list<std::pair<unsigned, unsigned>> entries,
                                         const char* end = "6A 82")
{
    auto card = std::make_shared<ScriptedScard>();
    card->answer("62 03 82 01 38 90 00");
    for (const auto& [id, descriptor] : entries) {
        card->answer(entry(id, descriptor));
    }
    card->answer(end);
    return card;
}

std::uint16_t firstFree(std::initializer_list<std::pair<unsigned, unsigned>> entries)
{
    return LocalLoginDirectory(directory(entries)).firstFreeId();
}

} // namespace

TEST(LocalLoginDirectory, WalkVisitsTheEntriesInTheCardsOrder)
{
    auto card = directory({{5, 0x14}, {3, 0x10}, {4, 0x10}});
    EXPECT_EQ(LocalLoginDirectory(card).idsOf(0x10), (std::vector<std::uint16_t>{3, 4}));
    EXPECT_EQ(card->sentHex(), (std::vector<std::string>{kSelectDirectory, kSelectFirst, "00 A4 00 06 02 00 05 00",
                                                         "00 A4 00 06 02 00 03 00", "00 A4 00 06 02 00 04 00"}));
    EXPECT_EQ(card->lockDepth, 0);
    EXPECT_EQ(LocalLoginDirectory(directory({{5, 0x14}, {3, 0x10}})).idsOf(0x14), std::vector<std::uint16_t>{5});
    EXPECT_TRUE(LocalLoginDirectory(directory({})).idsOf(0x14).empty());
}

TEST(LocalLoginDirectory, FirstFreeIdentifierIsSharedByLocalPinsAndMvas)
{
    EXPECT_EQ(firstFree({{3, 0x10}, {4, 0x14}, {6, 0x10}}), 5);
    EXPECT_EQ(firstFree({}), 3);
    EXPECT_EQ(firstFree({{40, 0x10}}), 3);
    EXPECT_EQ(firstFree({{1, 0x10}, {2, 0x10}, {3, 0x14}}), 4);

    auto full = std::make_shared<ScriptedScard>();
    full->answer("90 00");
    for (unsigned id = 31; id >= 3; --id) {
        full->answer(entry(id, id % 2 == 0 ? 0x10 : 0x14));
    }
    full->answer("6A 82");
    const Exception error = thrownException([&] { LocalLoginDirectory(full).firstFreeId(); });
    EXPECT_EQ(error.code(), QVFLASH_ST_NO_FREE_LOCAL_FILE_ID);
    EXPECT_TRUE(error.conditions().empty());
}

TEST(LocalLoginDirectory, MalformedListingsEndTheWalk)
{
    const auto walkError = [](std::shared_ptr<ScriptedScard> card) {
        return thrownException([&] { LocalLoginDirectory(card).walk([](qvfl::LocalLoginFile&&) {}); });
    };
    const auto response = [](const char* text) {
        return std::vector<Condition>{Condition(QVFLASH_COND_APDU_RESPONSE, std::string(text))};
    };
    auto noTemplate = directory({});
    noTemplate->answers.at(1) = ScriptedScard::response("83 02 00 03 90 00");
    const Exception fcp = walkError(noTemplate);
    EXPECT_EQ(fcp.code(), QVFLASH_ST_UNEXPECTED_APDU_RESPONSE);
    EXPECT_EQ(fcp.conditions(), response("SELECT response doesn't contain the FCP tag"));

    auto noId = directory({});
    noId->answers.at(1) = ScriptedScard::response("62 04 82 02 10 00 90 00");
    EXPECT_EQ(walkError(noId).conditions(), response("no file identifier in FCP"));

    // A card that lists an entry again would never end the walk.
    auto repeating = directory({{3, 0x10}, {4, 0x10}, {3, 0x10}, {4, 0x10}});
    const Exception repeat = walkError(repeating);
    EXPECT_EQ(repeat.code(), QVFLASH_ST_UNEXPECTED_APDU_RESPONSE);
    EXPECT_EQ(repeat.conditions(), response("file identifier repeated in the directory listing"));
    EXPECT_EQ(repeating->sent.size(), 4U);
    EXPECT_EQ(repeating->lockDepth, 0);

    EXPECT_EQ(walkError(directory({{3, 0x10}}, "6A 86")).code(), QVFLASH_ST_INCORRECT_PARAMETERS);
    auto missing = std::make_shared<ScriptedScard>();
    missing->answer("6A 82");
    EXPECT_EQ(walkError(missing).code(), QVFLASH_ST_FILE_NOT_FOUND);
}

TEST(LocalLoginDirectory, SecretTypeOfAnIdentifier)
{
    for (const std::uint16_t id : {2, 32, 259}) {
        auto card = std::make_shared<ScriptedScard>();
        const Exception error = thrownException([&] { LocalLoginDirectory(card).secretType(id); });
        EXPECT_EQ(error.code(), QVFLASH_ST_INVALID_SECRET_ID);
        EXPECT_EQ(error.conditions(), (std::vector<Condition>{Condition(QVFLASH_COND_SECRET_ID_RANGE,
                                                                        std::string("local PIN and MVA: [3, 31]")),
                                                              Condition(QVFLASH_COND_SECRET_ID, std::int64_t{id})}));
        EXPECT_TRUE(card->sent.empty());
    }
    auto card = std::make_shared<ScriptedScard>();
    card->answer(entry(7, 0x14));
    card->answer(entry(8, 0x10));
    card->answer(entry(9, 0x38));
    card->answer("6A 82");
    const LocalLoginDirectory directory(card);
    EXPECT_EQ(directory.secretType(7), LocalSecretType::Mva);
    EXPECT_EQ(directory.secretType(8), LocalSecretType::LocalPin);
    EXPECT_EQ(directory.secretType(9), LocalSecretType::LocalPin);
    EXPECT_EQ(thrownException([&] { directory.secretType(10); }).code(), QVFLASH_ST_FILE_NOT_FOUND);
    EXPECT_EQ(card->sentHex()[0], "00 A4 08 04 08 10 00 10 00 60 05 00 07 00");
}
