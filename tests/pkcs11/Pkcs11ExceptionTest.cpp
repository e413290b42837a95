#include "pkcs11/Pkcs11Exception.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvik::pkcs11 {
namespace {

struct Caught {
    std::string message;
    unsigned long rv;
    const char* what() const { return message.c_str(); }
};

template <typename Expected>
Caught caught(unsigned long rv, std::optional<std::string> text = std::nullopt)
{
    try {
        Pkcs11Exception::emit(rv, std::move(text));
    } catch (const Expected& error) {
        return {error.what(), error.rv()};
    }
    throw std::logic_error("emit did not throw the expected class");
}

TEST(Pkcs11ExceptionTest, ReturnValueBecomesItsClassWithItsName)
{
    const auto error = caught<PinIncorrectException>(0xA0);
    EXPECT_STREQ(error.what(), "PKCS11: CKR_PIN_INCORRECT");
    EXPECT_EQ(error.rv, 0xA0u);

    EXPECT_THROW(Pkcs11Exception::emit(0xA0, std::nullopt), Pkcs11Exception);
    EXPECT_THROW(Pkcs11Exception::emit(0xA0, std::nullopt), std::exception);
}

TEST(Pkcs11ExceptionTest, SampleOfReturnValues)
{
    struct Row {
        unsigned long rv;
        const char* message;
    };
    const Row rows[] = {
        {0x1, "PKCS11: CKR_CANCEL"},
        {0x12, "PKCS11: CKR_ATTRIBUTE_TYPE_INVALID"},
        {0x54, "PKCS11: CKR_FUNCTION_NOT_SUPPORTED"},
        {0xA4, "PKCS11: CKR_PIN_LOCKED"},
        {0xB8, "PKCS11: CKR_SESSION_READ_WRITE_SO_EXISTS"},
        {0xE0, "PKCS11: CKR_TOKEN_NOT_PRESENT"},
        {0x121, "PKCS11: CKR_RANDOM_NO_RNG"},
        {0x150, "PKCS11: CKR_BUFFER_TOO_SMALL"},
        {0x1B9, "PKCS11: CKR_PUBLIC_KEY_INVALID"},
        {0x200, "PKCS11: CKR_FUNCTION_REJECTED"},
        {0x80000001, "PKCS11: CKR_CORRUPTED_MAPFILE"},
        {0x80000002, "PKCS11: CKR_WRONG_VERSION_FIELD"},
        {0x80000004, "PKCS11: CKR_QVPKCS11_DATA_CORRUPTED"},
        {0x8000000A, "PKCS11: CKR_INAPPROPRIATE_PIN"},
        {0x8000000B, "PKCS11: CKR_PIN_IN_HISTORY"},
    };
    for (const Row& row : rows) {
        const auto error = caught<Pkcs11Exception>(row.rv);
        EXPECT_STREQ(error.what(), row.message);
        EXPECT_EQ(error.rv, row.rv);
    }
    EXPECT_THROW(Pkcs11Exception::emit(0x80000002, std::nullopt), WrongVersionFileException);
    EXPECT_THROW(Pkcs11Exception::emit(0x8000000B, std::nullopt), PinInHistoryException);
    EXPECT_THROW(Pkcs11Exception::emit(0x150, std::nullopt), BufferTooSmallException);
    EXPECT_THROW(Pkcs11Exception::emit(0x32, std::nullopt), DeviceRemovedException);
}

TEST(Pkcs11ExceptionTest, CustomTextReplacesTheName)
{
    EXPECT_STREQ(caught<PinIncorrectException>(0xA0, "try again").what(), "PKCS11: try again");
    EXPECT_STREQ(caught<PinIncorrectException>(0xA0, "").what(), "PKCS11: ");
    EXPECT_STREQ(caught<PinIncorrectException>(0xA0, std::string("cut\0off", 7)).what(), "PKCS11: cut");
}

TEST(Pkcs11ExceptionTest, ValuesWithoutClassAreUnknown)
{
    const auto gap = caught<Pkcs11Exception>(0x4, "dropped");
    EXPECT_STREQ(gap.what(), "PKCS11: unknown error 0x4");
    EXPECT_EQ(gap.rv, 0x4u);
    EXPECT_STREQ(caught<Pkcs11Exception>(0x80000007).what(), "PKCS11: unknown error 0x80000007");
    EXPECT_STREQ(caught<Pkcs11Exception>(0x80000000).what(), "PKCS11: unknown error 0x80000000");
    EXPECT_STREQ(caught<Pkcs11Exception>(0x8000000C).what(), "PKCS11: unknown error 0x8000000c");
    EXPECT_STREQ(caught<Pkcs11Exception>(0).what(), "PKCS11: unknown error 0");
}

TEST(Pkcs11ExceptionTest, CopiesKeepCodeAndMessage)
{
    const TokenNotPresentException original;
    const TokenNotPresentException copy = original;
    EXPECT_STREQ(copy.what(), "PKCS11: CKR_TOKEN_NOT_PRESENT");
    EXPECT_EQ(copy.rv(), 0xE0u);
}

TEST(Pkcs11ExceptionTest, AttributeErrors)
{
    const WrongAttributeTypeException type(static_cast<AttributeType>(0x80003011));
    EXPECT_STREQ(type.what(), "Wrong PKCS11 attribute type: 2147495953");
    EXPECT_EQ(type.rv(), 0u);
    const WrongAttributeLengthException length;
    EXPECT_STREQ(length.what(), "Wrong PKCS11 attribute length");
    EXPECT_EQ(length.rv(), 0u);
}

} // namespace
} // namespace quorvik::pkcs11
