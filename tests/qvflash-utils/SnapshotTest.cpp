// The snapshot text from given hardware lists, and its exported record.
#include <qvflash-utils-core/Exception.h>
#include <qvflash-utils-core/Snapshot.h>
#include <qvflash-utils-core/pcSnapshot.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Strings = std::vector<std::string>;

class FakeGetter : public qvfl_utils::IHwParamsGetter {
public:
    FakeGetter(Strings drives, Strings processors) : drives_(std::move(drives)), processors_(std::move(processors)) {}
    Strings internalHardDiskSerials() const override { return drives_; }
    Strings cpuModels() const override
    {
        ++cpuQueries;
        return processors_;
    }
    mutable int cpuQueries = 0;

private:
    Strings drives_;
    Strings processors_;
};

const std::string kCpu = "Intel(R) Core(TM) i7-9750H CPU 2.60GHz";

TEST(SnapshotTest, ItemsAreNormalisedSortedAndJoined)
{
    const struct {
        Strings drives;
        Strings processors;
        const char* text;
    } cases[] = {
        {{"WD-WX11A12B3456", "S4EWNX0N123456"},
         {kCpu},
         "D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz"},
        {{"S4EWNX0N123456", "WD-WX11A12B3456"},
         {kCpu},
         "D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz"},
        {{"AB-12", "ab12"}, {"X"}, "D:ab12;ab12|P:x"},
        {{"Z9", "9z", "a"}, {"cpu", "cpu"}, "D:9z;a;z9|P:cpu;cpu"},
        // A punctuation-only serial still counts as a drive.
        {{"--/--"}, {"p"}, "D:|P:p"},
        {{"", "b", "a"}, {"p"}, "D:a;b|P:p"},
        {{"S\xC3\xA9r\xFF"
          "1"},
         {"p"},
         "D:sr1|P:p"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(qvfl_utils::Snapshot::compute(FakeGetter(row.drives, row.processors)), row.text);
    }
}

TEST(SnapshotTest, AnEmptyListGivesItsStatus)
{
    FakeGetter noDrive({}, {kCpu});
    try {
        qvfl_utils::Snapshot::compute(noDrive);
        FAIL();
    } catch (const qvfl_utils::Exception& failure) {
        EXPECT_EQ(failure.code(), QVFL_UTILS_ST_NO_HD_INFO);
        EXPECT_TRUE(failure.conditions().empty());
    }
    EXPECT_EQ(noDrive.cpuQueries, 0);
    try {
        qvfl_utils::Snapshot::compute(FakeGetter({"d"}, {}));
        FAIL();
    } catch (const qvfl_utils::Exception& failure) {
        EXPECT_EQ(failure.code(), QVFL_UTILS_ST_NO_CPU_INFO);
    }
}

TEST(SnapshotTest, TheRecordHoldsUpTo255Characters)
{
    // "D:" + drive + "|P:p" is the drive's length plus 6.
    qvfl_utils_PcSnapshot record = qvfl_utils::createPcSnapshot(FakeGetter({std::string(249, 'a')}, {"p"}));
    EXPECT_EQ(record.length, 255);
    EXPECT_EQ(std::strlen(record.data), 255U);
    qvfl_utils::destroyPcSnapshot(record);
    EXPECT_EQ(record.data, nullptr);
    EXPECT_EQ(record.length, 0);

    try {
        qvfl_utils::createPcSnapshot(FakeGetter({std::string(250, 'a')}, {"p"}));
        FAIL();
    } catch (const qvfl_utils::Exception& failure) {
        EXPECT_EQ(failure.code(), QVFL_UTILS_ST_INTERNAL_ERROR);
        EXPECT_EQ(failure.conditions(), std::vector<qvfl_utils::Condition>{qvfl_utils::Condition(
                                            QVFL_UTILS_COND_ADDITIONAL_MESSAGE,
                                            std::string("PC snapshot text is longer than 255 characters"))});
    }
}

} // namespace
