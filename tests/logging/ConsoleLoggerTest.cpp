#include "logging/ConsoleLogger.h"
#include "cli/internalError.h"

#include <gtest/gtest.h>

namespace {

struct ConsoleCase {
    const char* name;
    bool showPins;
    std::optional<std::string> error;
    std::optional<std::uint16_t> mvaId;
    std::optional<std::uint64_t> localId;
    bool withPins;
    std::string line;
};

TEST(ConsoleLoggerTest, PrintsOnlyWhatIsWorthALine)
{
    const std::string head = "serial: 1234567, model: Model X";
    const ConsoleCase cases[] = {
        {"nothing to show", true, {}, {}, {}, false, ""},
        {"PINs hidden", false, {}, {}, {}, true, ""},
        {"PINs shown", true, {}, {}, {}, true, head + ", new-pin: ***, new-so-pin: Ab3$x9"},
        {"ids", false, {}, 3, 42, true, head + ", MVA id: 3, Local id: 42"},
        {"ids and PINs", true, {}, 3, {}, true, head + ", MVA id: 3, new-pin: ***, new-so-pin: Ab3$x9"},
        {"error hides the rest", true, "Incorrect user PIN. Attempts left: 2.", 3, 42, true,
         head + ", error: Incorrect user PIN. Attempts left: 2."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logging::ConsoleLogger logger(c.showPins);
        logger.add(logging::CommandRecord{"set-user-pin", {}, {}});
        logger.add(logging::OperationRecord{"2025.02.01_09.05.03", "Model X", 1234567});
        if (c.withPins) {
            logger.add(1234567, logging::PinRecord{"new-pin", "user", {}});
            logger.add(1234567, logging::PinRecord{"new-so-pin", "so", "Ab3$x9"});
        }
        if (c.mvaId)
            logger.add(1234567, logging::MvaIdRecord{*c.mvaId});
        if (c.localId)
            logger.add(1234567, logging::LocalPinIdRecord{*c.localId});
        if (c.error)
            logger.addError(1234567, *c.error);
        testing::internal::CaptureStdout();
        logger.flush(1234567);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line.empty() ? "" : c.line + "\n");
        // The record is forgotten: a second flush is misuse.
        EXPECT_THROW(logger.flush(1234567), NoRecordError);
    }
}

} // namespace
