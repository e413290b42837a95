#include "flash/QvflashException.h"
#include "flash/handleStatusCode.h"
#include "thrown.h"

#include <map>

namespace {

using namespace quorvik::qvflash;

TEST(QvflashException, EveryStatusOfTheTableThrowsItsClassWithTheLibrarysTextOrItsName)
{
    // The library has no text for these three: the status name stands in.
    const std::map<qvflash_StatusCode, std::string> named{{QVFLASH_ST_APDU_ERROR, "QVFLASH_ST_APDU_ERROR"},
                                                          {QVFLASH_ST_OBJECT_EXISTS, "QVFLASH_ST_OBJECT_EXISTS"},
                                                          {QVFLASH_ST_LOGIC_ERROR, "QVFLASH_ST_LOGIC_ERROR"}};
    int classes = 0;
#define QV_CHECK_STATUS(Class, status)                                                                                 \
    {                                                                                                                  \
        const char* description = nullptr;                                                                             \
        qvflash_status_description(status, &description);                                                              \
        const auto found = named.find(status);                                                                         \
        const std::string text = found == named.end() ? (description ? description : "") : found->second;              \
        const Thrown thrown = thrownAs<QvflashException>([] { QvflashException::emit(status, std::nullopt); });        \
        EXPECT_EQ(thrown.type, typeid(Class)) << #status;                                                              \
        EXPECT_EQ(thrown.what, "Qvflash: " + text);                                                                    \
        ++classes;                                                                                                     \
    }
    QV_QVFLASH_STATUS_CODES(QV_CHECK_STATUS)
#undef QV_CHECK_STATUS
    EXPECT_EQ(classes, 51);
    QvflashException::emit(QVFLASH_ST_OK, std::string("never used"));
}

TEST(QvflashException, RegisteredMessagesReplaceTheLibrarysTextButNotTheUnknownWording)
{
    const auto journalExists = [] { handleStatusCode(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS); };
    EXPECT_EQ(thrownAs<QvflashException>(journalExists).what, "Qvflash: The journal events section already exists");
    registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "first");
    registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "Journal section already exists.");
    EXPECT_EQ(thrownBy<JournalEventsAlreadyExistsException>(journalExists).what(),
              std::string("Qvflash: Journal section already exists."));

    // Codes the library describes but the program has no class for, an unused code, and codes
    // outside every range.
    for (const int value : {6020, 6021, 100020, 100029, -7, 4}) {
        const auto code = static_cast<qvflash_StatusCode>(value);
        registerWhat(code, "ignored");
        const auto unknown = thrownBy<UnknownException>([code] { handleStatusCode(code); });
        EXPECT_EQ(unknown.getCode(), code);
        EXPECT_EQ(unknown.what(), "Qvflash: An unknown error has occurred. " + std::to_string(value));
    }
    handleStatusCode(QVFLASH_ST_OK);
}

} // namespace
