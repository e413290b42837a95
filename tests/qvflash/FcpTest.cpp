#include "hexBytes.h"

#include <qvflash-core/apdu/FcpTemplates.h>
#include <qvflash-core/apdu/VrRsfResponseWrap.h>
#include <qvflash-core/apdu/fcp.h>
#include <qvflash-core/errors/InvalidState.h>

#include <gtest/gtest.h>

using namespace qvfl::FCP;
using qvfl::TLV;
using qvfl::TlvType;

namespace {

TLV single(const std::vector<std::uint8_t>& bytes)
{
    return qvfl::parseTLVStructs(bytes.begin(), bytes.end(), TlvType::Ber).at(0);
}

// The condition of a parsing failure of body, or "" when it succeeds.
template <typename Body>
std::string failureOf(Body body, qvflash_ConditionCode expected = QVFLASH_COND_TLV_PARSING_ERROR)
{
    try {
        body();
    } catch (const qvfl::Exception& e) {
        EXPECT_EQ(e.code(), QVFLASH_ST_INTERNAL_ERROR);
        EXPECT_EQ(e.conditions().size(), 1U);
        EXPECT_EQ(e.conditions()[0].code(), expected);
        return std::get<std::string>(e.conditions()[0].detail());
    }
    return "";
}

// The MVA 3 answer of a card: record size 100, file size 1000, 5 of 5
// tries, records [used, empty].
const std::string kMvaAnswer = "62 31 82 05 14 00 00 64 02 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 "
                               "86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00 8F 01 81 A5 04 C0 02 01 03";

TEST(FcpTags, DescriptorParsesAndEncodesRecordInformation)
{
    const auto record = hexBytes("82 05 14 00 00 64 0A");
    const FcpDescriptorTag descriptor(single(record));
    ASSERT_TRUE(descriptor.recordInfo);
    EXPECT_EQ(descriptor.recordInfo->maxRecordSize, 100);
    EXPECT_EQ(descriptor.recordInfo->recordCount, 10);
    EXPECT_EQ(descriptor.toVector(), record);

    const auto localPin = hexBytes("82 02 10 00");
    const FcpDescriptorTag pinDescriptor(single(localPin));
    EXPECT_EQ(pinDescriptor.descriptorByte, 0x10);
    EXPECT_FALSE(pinDescriptor.recordInfo);

    const auto creationForm = hexBytes("82 04 14 00 00 64");
    EXPECT_EQ(failureOf([&] { FcpDescriptorTag{single(creationForm)}; }),
              "invalid data length field in the TLV structure");
}

TEST(FcpTags, ParametersCarryTheAttemptCounters)
{
    const auto bytes = hexBytes("85 06 21 06 00 A3 00 00");
    const FcpParametersTag parameters(single(bytes));
    EXPECT_EQ(parameters.maxAttempts, 10);
    EXPECT_EQ(parameters.remainingAttempts, 3);
    EXPECT_EQ(parameters.toVector(), bytes);

    for (const char* wrong : {"85 06 21 06 00 B0 00 00", "85 06 21 06 00 03 00 00"}) {
        const auto invalid = hexBytes(wrong);
        EXPECT_EQ(failureOf([&] { FcpParametersTag{single(invalid)}; }),
                  "invalid max number of attempts in the TLV structure for VR-RSF");
    }
    const auto shortValue = hexBytes("85 05 21 06 00 A3 00");
    EXPECT_EQ(failureOf([&] { FcpParametersTag{single(shortValue)}; }),
              "invalid data length field in the TLV structure");
}

TEST(FcpTags, SecurityAttributesAndProfileIndicatorAreChecked)
{
    const auto wrongMode = hexBytes("86 0F 43 01 04 00 00 00 00 FF 00 05 00 00 00 00 00");
    EXPECT_EQ(failureOf([&] { SecurityAttributesTag{single(wrongMode)}; }), "unknown access mode for VR-RSF");
    const auto wrongProfile = hexBytes("8F 01 80");
    EXPECT_EQ(failureOf([&] { FcpProfileIndicatorTag{single(wrongProfile)}; }), "unknown profile indicator for VR-RSF");
    EXPECT_EQ(mvaTemplateSecAttrTag().toVector(), hexBytes("86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00"));
}

TEST(MvaFileFcp, ACardAnswerIsReadWhole)
{
    auto answer = hexBytes(kMvaAnswer);
    const VrRsfResponseWrap wrap = VrRsfResponseWrap::makeFromTLVResponse(answer);
    EXPECT_EQ(wrap.descriptor.recordInfo->maxRecordSize, 100);
    EXPECT_EQ(wrap.descriptor.recordInfo->recordCount, 2);
    EXPECT_EQ(wrap.fileIdTag.fileId, 3);
    EXPECT_EQ(wrap.parameters.maxAttempts, 5);
    EXPECT_EQ(wrap.recordStatus.recordStates, hexBytes("01 03"));
    EXPECT_EQ(wrap.recordStatus.toVector(), hexBytes("A5 04 C0 02 01 03"));
    EXPECT_EQ(wrap.getFirstEmptyRecordId(), 2);
}

TEST(MvaFileFcp, FirstEmptyRecord)
{
    EXPECT_EQ(RecordStatusTag(hexBytes("01 01 03 01")).recordStates.size(), 4U);
    auto idOf = [](const std::string& states) {
        auto answer = hexBytes(kMvaAnswer.substr(0, kMvaAnswer.find(" A5")));
        answer[1] = static_cast<std::uint8_t>(answer.size() - 2);
        const RecordStatusTag tag(hexBytes(states));
        const auto encoded = tag.toVector();
        answer.insert(answer.end(), encoded.begin(), encoded.end());
        answer[1] = static_cast<std::uint8_t>(answer.size() - 2);
        return VrRsfResponseWrap::makeFromTLVResponse(answer).getFirstEmptyRecordId();
    };
    EXPECT_EQ(idOf("01 01 03 01"), 3);
    EXPECT_EQ(idOf("01 01"), 3);
    EXPECT_EQ(idOf(""), 1);

    auto noStates = hexBytes(kMvaAnswer.substr(0, kMvaAnswer.find(" A5")));
    noStates[1] = static_cast<std::uint8_t>(noStates.size() - 2);
    const auto wrap = VrRsfResponseWrap::makeFromTLVResponse(noStates);
    EXPECT_EQ(wrap.recordStatus.length, 0);
    EXPECT_EQ(wrap.getFirstEmptyRecordId(), 1);
}

TEST(MvaFileFcp, MalformedAnswers)
{
    auto twoTemplates = hexBytes("62 02 83 00 62 00");
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(twoTemplates); }), "invalid FCP tlv");

    auto duplicate = hexBytes(kMvaAnswer + " 83 02 00 04");
    duplicate[1] += 4;
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(duplicate); }),
              "the TLV structure for VR-RSF contains a duplicate tag");

    // What CREATE FILE sends is not what SELECT must answer.
    auto creationTemplate = qvfl::FCP::getMvaTemplateDataVector(3, 10, 100, 5);
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(creationTemplate); }),
              "invalid data length field in the TLV structure");

    auto localPin = hexBytes("62 04 82 02 10 00");
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(localPin); }), "invalid descriptor for VR-RSF");

    auto missing = hexBytes("62 07 82 05 14 00 00 64 00");
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(missing); }),
              "the TLV structure doesn't contain the required tags for VR-RSF");
    std::vector<std::uint8_t> empty;
    EXPECT_EQ(failureOf([&] { VrRsfResponseWrap::makeFromTLVResponse(empty); }),
              "the TLV structure doesn't contain the required tags for VR-RSF");
}

TEST(FcpDescriptor, FromTheTemplateOrTheListItself)
{
    const auto mva = hexBytes(kMvaAnswer);
    EXPECT_EQ(getFcpDescriptor(qvfl::parseTLVStructs(mva.begin(), mva.end(), TlvType::Ber)), 0x14);
    const auto bare = hexBytes("83 02 00 05 82 02 10 00");
    EXPECT_EQ(getFcpDescriptor(qvfl::parseTLVStructs(bare.begin(), bare.end(), TlvType::Ber)), 0x10);
    const auto none = hexBytes("62 04 83 02 00 05");
    EXPECT_EQ(failureOf([&] { getFcpDescriptor(qvfl::parseTLVStructs(none.begin(), none.end(), TlvType::Ber)); },
                        QVFLASH_COND_APDU_RESPONSE),
              "no descriptor in FCP");
}

TEST(FunctionalCapabilities, BitsOfTheThirdByte)
{
    const auto supported = hexBytes("04 03 00 00 05");
    const FunctionalCapabilitiesView view(single(supported));
    EXPECT_TRUE(view.isValid());
    EXPECT_TRUE(view.isSecurityEventLoggingSupported());
    EXPECT_TRUE(view.isPartitioningSupported());

    const auto neither = hexBytes("04 03 00 00 02");
    EXPECT_FALSE(FunctionalCapabilitiesView(single(neither)).isPartitioningSupported());

    const auto tooShort = hexBytes("04 02 00 00");
    const FunctionalCapabilitiesView invalid(single(tooShort));
    EXPECT_FALSE(invalid.isValid());
    try {
        invalid.isPartitioningSupported();
        FAIL() << "no exception";
    } catch (const qvfl::InvalidState& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("isValid() ", 0), 0U);
        EXPECT_NE(message.find("apdu/fcp"), std::string::npos);
        EXPECT_NE(message.find(":isPartitioningSupported:"), std::string::npos);
    }
    EXPECT_THROW(invalid.isSecurityEventLoggingSupported(), qvfl::InvalidState);
}

TEST(FcpTemplates, NewMvaAndLocalPinFiles)
{
    EXPECT_EQ(getMvaTemplateDataVector(3, 10, 100, 5),
              hexBytes("62 27 82 04 14 00 00 64 80 02 03 E8 83 02 00 03 85 06 21 00 00 55 00 00 "
                       "86 0F 5F 01 01 01 FF FF 00 FF 00 00 00 00 00 00 00"));
    const auto selfProtected = getLocalPinTemplateDataVector(5, 32, 6, 3, qvfl::CoreSecureType::LocalPin);
    EXPECT_EQ(selfProtected, hexBytes("62 25 80 02 00 20 82 02 10 00 83 02 00 05 86 0F 43 01 04 00 00 00 00 FF "
                                      "00 05 00 00 00 00 00 85 06 21 06 00 33 00 00"));
    auto userProtected = selfProtected;
    userProtected[18] = 0x02;
    userProtected[25] = 0x00;
    EXPECT_EQ(getLocalPinTemplateDataVector(5, 32, 6, 3, qvfl::CoreSecureType::User), userProtected);
    userProtected[18] = 0x01;
    EXPECT_EQ(getLocalPinTemplateDataVector(5, 32, 6, 3, qvfl::CoreSecureType::Admin), userProtected);
}

} // namespace
