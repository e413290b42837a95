#include "failingNew.h"
#include "flash/QvflashUtilsException.h"
#include "flash/getPcSnapshot.h"
#include "thrown.h"

#include <cstdlib>
#include <string>

namespace {

using namespace quorvik::qvflash_utils;

TEST(QvflashUtilsException, StatusesGiveTheirClassWithTheLibrarysTextOrTheStatusName)
{
    const struct {
        int status;
        const char* description;
        std::type_index type;
        const char* what;
    } cases[] = {
        {QVFL_UTILS_ST_NO_CPU_INFO, "No CPU", typeid(NoCpuInfoException), "Qvflash-utils: No CPU"},
        {QVFL_UTILS_ST_NO_HD_INFO, nullptr, typeid(NoHdInfoException), "Qvflash-utils: QVFL_UTILS_ST_NO_HD_INFO"},
        {6, "ignored", typeid(UnknownException), "Unknown exception."},
        {-1, nullptr, typeid(UnknownException), "Unknown exception."},
    };
    for (const auto& c : cases) {
        const Thrown thrown = thrownAs<QvflashUtilsException>(
            [&] { QvflashUtilsException::emit(static_cast<qvfl_utils_StatusCode>(c.status), c.description); });
        EXPECT_EQ(thrown.type, c.type) << c.status;
        EXPECT_EQ(thrown.what, c.what);
    }
    QvflashUtilsException::emit(QVFL_UTILS_ST_OK, nullptr);
}

TEST(PcSnapshot, TheHostsTextOrTheLibrarysFailure)
{
    const auto onHost = [](const std::string& host) {
        setenv("QV_HOST_ROOT", (std::string(QV_TEST_HOSTS) + "/" + host).c_str(), 1);
    };
    onHost("workstation");
    const std::string text = "D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz";
    EXPECT_EQ(getPcSnapshot(), std::vector<uint8_t>(text.begin(), text.end()));

    onHost("no-internal-drive");
    const Thrown noDrive = thrownAs<QvflashUtilsException>(getPcSnapshot);
    EXPECT_EQ(noDrive.type, typeid(NoHdInfoException));
    EXPECT_EQ(noDrive.what, "Qvflash-utils: Failed to retrieve internal hard drive information");

    onHost("long-snapshot");
    EXPECT_EQ(thrownAs<QvflashUtilsException>(getPcSnapshot).type, typeid(InternalErrorException));

    // Whichever allocation fails, the text goes back to the library (the sanitizer build
    // finds no leak), until the snapshot is whole.
    onHost("workstation");
    for (std::size_t n = 1;; ++n) {
        failNewAfter(n);
        try {
            const auto whole = getPcSnapshot();
            failNewAfter(0);
            EXPECT_EQ(whole.size(), text.size());
            break;
        } catch (const std::bad_alloc&) {
        } catch (const QvflashUtilsException&) {
        }
    }
    unsetenv("QV_HOST_ROOT");
}

} // namespace
