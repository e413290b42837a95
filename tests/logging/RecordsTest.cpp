#include "cli/internalError.h"
#include "logging/LogHolder.h"
#include "logging/addOption.h"
#include "pin/PinGenSettingsElement.h"
#include "token/types/VolumeParams.h"

#include <gtest/gtest.h>

namespace {

TEST(AddOptionTest, ValueTexts)
{
    using CharsSet = PinGenSettingsElement::CharsSet;
    logging::CommandRecord record;
    logging::addOption<std::string>(record, "empty", "");
    logging::addOption<std::string>(record, "label", "a \"b\";c");
    logging::addOption(record, "flag", false);
    logging::addOption(record, "on", true);
    logging::addOption(record, "retries", static_cast<unsigned short>(10));
    logging::addOption(record, "delta", -10);
    logging::addOption(record, "size", 123456789012L);
    logging::addOption(record, "serial", 18446744073709551615UL);
    logging::addOption(record, "gen-settings",
                       std::vector<PinGenSettingsElement>{CharsSet::Digits, PinGenSettingsElement(8ull)});
    logging::addOption(record, "auth-as", UserType::So);
    logging::addOption(record, "volumes", std::vector<VolumeParams>{});
    logging::addOption(
        record, "volumes",
        std::vector<VolumeParams>{{1024, AccessMode::ReadWrite, {UserType::User, MvaId(5)}, SectionType::UserFiles},
                                  {64, AccessMode::ReadOnly, {None()}, SectionType::Journal}});

    const std::vector<std::pair<std::string, std::string>> expected = {{"empty", "\"\""},
                                                                       {"label", "\"a \"b\";c\""},
                                                                       {"flag", "0"},
                                                                       {"on", "1"},
                                                                       {"retries", "10"},
                                                                       {"delta", "-10"},
                                                                       {"size", "123456789012"},
                                                                       {"serial", "18446744073709551615"},
                                                                       {"gen-settings", "\"digits length:8\""},
                                                                       {"auth-as", "so"},
                                                                       {"volumes", "{}"},
                                                                       {"volumes", "{1024:rw:user,mva-5,64:r:none}"}};
    ASSERT_EQ(record.options.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(record.options[i].key, expected[i].first);
        EXPECT_EQ(record.options[i].value, expected[i].second);
    }
}

TEST(LogHolderTest, RefusesRecordsOutOfOrder)
{
    logging::LogHolder holder;
    EXPECT_THROW(holder.getCommandRecord(), NoCommandRecordError);
    EXPECT_THROW(holder.add(7, logging::PinRecord{"new-pin", "user", {}}), NoRecordError);
    EXPECT_THROW(holder.add(7, logging::MvaIdRecord{1}), NoRecordError);
    EXPECT_THROW(holder.add(7, logging::LocalPinIdRecord{1}), NoRecordError);
    EXPECT_THROW(holder.addError(7, "x"), NoRecordError);
    EXPECT_NO_THROW(holder.eraseRecord(7));
    holder.add(logging::CommandRecord{"set-label", {}, {}});
    EXPECT_THROW(holder.add(logging::CommandRecord{"set-label", {}, {}}), CommandRecordAlreadyExistsError);
    holder.add(logging::OperationRecord{"t", "m", 7});
    EXPECT_THROW(holder.add(logging::OperationRecord{"t2", "m2", 7}), RecordAlreadyExistsError);
}

} // namespace
