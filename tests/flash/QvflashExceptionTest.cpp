#include "flash/QvflashException.h"
#include "flash/handleStatusCode.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <typeinfo>

namespace {

using namespace quorvik::qvflash;

struct Thrown {
    const std::type_info* type = &typeid(void);
    std::string what;
    qvflash_StatusCode code{};
};

Thrown thrownBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const QvflashException& error) {
        return {&typeid(error), error.what(), error.getCode()};
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

std::string libraryText(qvflash_StatusCode code)
{
    const char* description = nullptr;
    qvflash_status_description(code, &description);
    return description ? description : "";
}

TEST(QvflashException, EveryStatusOfTheTableThrowsItsClassWithTheLibrarysTextOrItsName)
{
    // The library has no text for these three: the status name stands in.
    const std::map<qvflash_StatusCode, std::string> named{{QVFLASH_ST_APDU_ERROR, "QVFLASH_ST_APDU_ERROR"},
                                                          {QVFLASH_ST_OBJECT_EXISTS, "QVFLASH_ST_OBJECT_EXISTS"},
                                                          {QVFLASH_ST_LOGIC_ERROR, "QVFLASH_ST_LOGIC_ERROR"}};
    int classes = 0;
#define QV_CHECK_STATUS(Class, status)                                                                                 \
    {                                                                                                                  \
        SCOPED_TRACE(#status);                                                                                         \
        const auto found = named.find(status);                                                                         \
        const std::string text = found == named.end() ? libraryText(status) : found->second;                           \
        EXPECT_FALSE(text.empty());                                                                                    \
        const Thrown thrown = thrownBy([] { QvflashException::emit(status, std::nullopt); });                          \
        EXPECT_EQ(*thrown.type, typeid(Class));                                                                        \
        EXPECT_EQ(thrown.code, status);                                                                                \
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
    EXPECT_EQ(thrownBy(journalExists).what, "Qvflash: The journal events section already exists");
    registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "first");
    registerWhat(QVFLASH_ST_JOURNAL_EVENTS_ALREADY_EXISTS, "Journal section already exists.");
    const Thrown registered = thrownBy(journalExists);
    EXPECT_EQ(*registered.type, typeid(JournalEventsAlreadyExistsException));
    EXPECT_EQ(registered.what, "Qvflash: Journal section already exists.");

    // Codes the library describes but the program has no class for, unused codes, and codes
    // outside every range.
    const int unknown[] = {QVFLASH_ST_REFERENCE_DATA_NOT_FOUND,
                           QVFLASH_ST_COMMAND_NOT_ALLOWED,
                           100020,
                           QVFLASH_ST_INVALID_SECRET_TYPE,
                           -7,
                           4};
    for (const int value : unknown) {
        const auto code = static_cast<qvflash_StatusCode>(value);
        registerWhat(code, "ignored");
        const Thrown thrown = thrownBy([code] { handleStatusCode(code); });
        EXPECT_EQ(*thrown.type, typeid(UnknownException)) << value;
        EXPECT_EQ(thrown.code, code);
        EXPECT_EQ(thrown.what, "Qvflash: An unknown error has occurred. " + std::to_string(value));
    }
    handleStatusCode(QVFLASH_ST_OK);
}

} // namespace
