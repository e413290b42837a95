#include "pkcs11/AttributeKinds.h"
#include "pkcs11/Template.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvik::pkcs11 {
namespace {

CK_ATTRIBUTE raw(CK_ATTRIBUTE_TYPE type, CK_ULONG length)
{
    return {type, nullptr, length};
}

TEST(AttributeTest, FixedSizeKindsAcceptOnlyTheirLength)
{
    struct Row {
        CK_ATTRIBUTE_TYPE type;
        CK_ULONG length;
    };
    const Row kinds[] = {
        {CKA_TOKEN, 1},                   // bool
        {CKA_QV_TOUCH_MODE, 8},           // unsigned long
        {CKA_QV_PIN_MIN_LENGTH, 1},       // unsigned char
        {CKA_CLASS, 8},                   // enumeration
        {CKA_QV_SUPPORTED_INTERFACES, 8}, // flag set
    };
    for (const Row& kind : kinds) {
        const auto attribute = Attribute::create(raw(kind.type, kind.length));
        EXPECT_EQ(static_cast<CK_ULONG>(attribute->type()), kind.type);
        EXPECT_EQ(attribute->valueLen(), kind.length);
        for (const CK_ULONG wrong :
             {CK_ULONG{0}, kind.length == 1 ? CK_ULONG{8} : CK_ULONG{1}, CK_UNAVAILABLE_INFORMATION})
            EXPECT_THROW(Attribute::create(raw(kind.type, wrong)), WrongAttributeLengthException) << kind.type;
    }
    const auto token = Attribute::create(raw(CKA_TOKEN, 1));
    EXPECT_FALSE(dynamic_cast<AttributeOf<AttributeType::Token>&>(*token).value());
}

// A module may answer any byte for a CK_BBOOL; every non-zero byte is true.
TEST(AttributeTest, AnyNonZeroBooleanByteIsTrue)
{
    using Token = AttributeOf<AttributeType::Token>;
    for (const CK_BBOOL byte : {CK_BBOOL{0}, CK_BBOOL{1}, CK_BBOOL{2}, CK_BBOOL{0x80}, CK_BBOOL{0xFF}}) {
        auto attribute = Attribute::create(raw(CKA_TOKEN, 1));
        std::memcpy(attribute->valuePtr(), &byte, 1);
        const auto& read = dynamic_cast<Token&>(*attribute);
        EXPECT_EQ(read.value(), byte != 0) << int{byte};
        EXPECT_TRUE(read.equal(Token(byte != 0))) << int{byte};
    }
}

TEST(AttributeTest, VariableKindsTakeAnyLengthZeroed)
{
    auto label = Attribute::create({CKA_LABEL, reinterpret_cast<void*>(0x1), 5});
    auto& text = dynamic_cast<AttributeOf<AttributeType::Label>&>(*label);
    EXPECT_EQ(text.value(), std::string(5, '\0'));
    EXPECT_EQ(label->valueLen(), 5u);
    EXPECT_EQ(label->valuePtr(), static_cast<const void*>(text.value().data()));

    auto id = Attribute::create(raw(CKA_ID, 3));
    EXPECT_EQ(dynamic_cast<AttributeOf<AttributeType::Id>&>(*id).value(), std::vector<unsigned char>(3, 0));
    EXPECT_EQ(Attribute::create(raw(CKA_QV_MODEL_NAME, 0))->valueLen(), 0u);
}

TEST(AttributeTest, UnknownTypeIsRefused)
{
    try {
        Attribute::create(raw(0x80003011, 8));
        FAIL();
    } catch (const WrongAttributeTypeException& error) {
        EXPECT_STREQ(error.what(), "Wrong PKCS11 attribute type: 2147495953");
    }
    EXPECT_THROW(Attribute::create(raw(0x4, 1)), WrongAttributeTypeException);
}

TEST(AttributeTest, EqualityComparesTypeAndValue)
{
    using Label = AttributeOf<AttributeType::Label>;
    using Mode = AttributeOf<AttributeType::VendorTouchMode>;
    using Timeout = AttributeOf<AttributeType::VendorTouchActionTimeout>;
    EXPECT_TRUE(Label("abc").equal(Label("abc")));
    EXPECT_FALSE(Label("abc").equal(Label("abcd")));
    EXPECT_FALSE(Label("abc").equal(Label("abd")));
    EXPECT_TRUE(Mode(1).equal(Mode(1)));
    EXPECT_FALSE(Mode(1).equal(Timeout(1)));
    EXPECT_FALSE(AttributeOf<AttributeType::Token>(true).equal(Mode(1)));
    EXPECT_TRUE(AttributeOf<AttributeType::Class>(ObjectClass::HwFeature)
                    .equal(AttributeOf<AttributeType::Class>(ObjectClass::HwFeature)));
}

TEST(AttributeTest, CloneCopiesDeeply)
{
    AttributeOf<AttributeType::Value> original(std::vector<unsigned char>{1, 2, 3});
    const auto copy = original.clone();
    static_cast<unsigned char*>(original.valuePtr())[0] = 9;
    EXPECT_EQ(dynamic_cast<const AttributeOf<AttributeType::Value>&>(*copy).value(),
              (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_FALSE(copy->equal(original));
}

TEST(TemplateTest, KeepsOneAttributePerTypeInTypeOrder)
{
    Template values;
    values.emplaceAttributes(AttributeOf<AttributeType::VendorTouchPresenceTimeLimit>(30),
                             AttributeOf<AttributeType::Class>(ObjectClass::HwFeature),
                             AttributeOf<AttributeType::VendorTouchMode>(1),
                             AttributeOf<AttributeType::VendorTouchMode>(0));
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(
        dynamic_cast<AttributeOf<AttributeType::VendorTouchMode>&>(*values.attribute(AttributeType::VendorTouchMode))
            .value(),
        1u);
    EXPECT_EQ(values.attribute(AttributeType::Label), nullptr);

    const auto raw = values.rawAttributes();
    ASSERT_EQ(raw.size(), 3u);
    EXPECT_EQ(raw[0].type, CKA_CLASS);
    EXPECT_EQ(raw[1].type, CKA_QV_TOUCH_MODE);
    EXPECT_EQ(raw[2].type, CKA_QV_TOUCH_PRESENCE_TIME_LIMIT);
    EXPECT_EQ(raw[0].ulValueLen, 8u);
    EXPECT_EQ(raw[0].pValue, values.attribute(AttributeType::Class)->valuePtr());
}

TEST(TemplateTest, ModuleWritesLandInTheAttributes)
{
    Template values;
    values.addUninitializedAttribute(raw(CKA_QV_MODEL_NAME, 4));
    values.addUninitializedAttribute(raw(CKA_MODIFIABLE, 1));
    values.addUninitializedAttribute(raw(CKA_QV_PIN_HISTORY_DEPTH, 1));
    values.addUninitializedAttribute(raw(CKA_QV_PIN_POLICY_USER_TYPE, 8));

    for (CK_ATTRIBUTE& entry : values.rawAttributes()) {
        if (entry.type == CKA_QV_MODEL_NAME)
            std::memcpy(entry.pValue, "ZRN2", 4);
        else if (entry.type == CKA_QV_PIN_POLICY_USER_TYPE)
            *static_cast<CK_ULONG*>(entry.pValue) = CKU_USER;
        else
            *static_cast<CK_BBOOL*>(entry.pValue) = entry.type == CKA_MODIFIABLE ? CK_TRUE : 5;
    }
    EXPECT_EQ(
        dynamic_cast<AttributeOf<AttributeType::VendorModelName>&>(*values.attribute(AttributeType::VendorModelName))
            .value(),
        "ZRN2");
    EXPECT_TRUE(
        dynamic_cast<AttributeOf<AttributeType::Modifiable>&>(*values.attribute(AttributeType::Modifiable)).value());
    EXPECT_EQ(dynamic_cast<AttributeOf<AttributeType::VendorPinHistoryDepth>&>(
                  *values.attribute(AttributeType::VendorPinHistoryDepth))
                  .value(),
              5);
    EXPECT_EQ(dynamic_cast<AttributeOf<AttributeType::VendorPinPolicyUserType>&>(
                  *values.attribute(AttributeType::VendorPinPolicyUserType))
                  .value(),
              UserType::User);
}

TEST(TemplateTest, RefusedAttributeLeavesTemplateUnchanged)
{
    Template values;
    values.emplaceAttributes(AttributeOf<AttributeType::Label>("kept"));
    EXPECT_THROW(values.addUninitializedAttribute(raw(CKA_TOKEN, 8)), WrongAttributeLengthException);
    EXPECT_THROW(values.addUninitializedAttribute(raw(0x80003011, 8)), WrongAttributeTypeException);
    values.addUninitializedAttribute(raw(CKA_LABEL, 9));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values.attribute(AttributeType::Label)->valueLen(), 4u);
}

} // namespace
} // namespace quorvik::pkcs11
