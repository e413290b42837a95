#include "TempFolder.h"

#include "cli/CliError.h"
#include "cli/LoggerError.h"
#include "cli/internalError.h"
#include "logging/FileLogger.h"
#include "logging/MultiFileLogger.h"
#include "logging/PinFileLogger.h"

#include <sys/stat.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

logging::CommandRecord setUserPinCommand()
{
    return {"set-user-pin", {{"new-pin-input", "generate"}, {"label", "\"a b\""}}, {"repair", "temp"}};
}

// Logs one token's operation: a generated PIN, a typed one, both ids and, when given, an error.
void logToken(logging::BaseLogger& logger, std::uint64_t serial, const std::optional<std::string>& error = {})
{
    logger.add(logging::OperationRecord{"2025.02.01_09.05.03", "Model X", serial});
    logger.add(serial, logging::PinRecord{"new-pin", "user", "Gen3rated"});
    logger.add(serial, logging::PinRecord{"auth-pin", "so", {}});
    logger.add(serial, logging::MvaIdRecord{3});
    logger.add(serial, logging::LocalPinIdRecord{70000});
    if (error)
        logger.addError(serial, *error);
    logger.flush(serial);
}

std::string block(std::uint64_t serial, const char* errorLine, const char* status)
{
    return "timestamp: 2025.02.01_09.05.03\n"
           "serial: " +
           std::to_string(serial) +
           "\n"
           "model: Model X\n"
           "set-user-pin\n"
           "    new-pin-input: generate\n"
           "    label: \"a b\"\n"
           "    repair: true\n"
           "    temp: true\n"
           "    new-pin: Gen3rated\n"
           "    auth-pin: ***\n"
           "    MVA id: 3\n"
           "    Local id: 70000\n" +
           std::string(errorLine) + "status: " + status + "\n\n";
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 0777;
}

using FileLoggersTest = TempFolderTest;

TEST_F(FileLoggersTest, TwoRunsAppendBlocksAndPinRowsUnderOneHeader)
{
    for (int run = 0; run < 2; ++run) {
        logging::FileLogger log(pathOf("run.log"));
        logging::PinFileLogger pins(pathOf("pins/pins.txt"));
        for (logging::BaseLogger* logger : std::initializer_list<logging::BaseLogger*>{&log, &pins}) {
            logger->add(setUserPinCommand());
            logToken(*logger, 1234567);
            logToken(*logger, 42, "Incorrect user PIN. Attempts left: 2.");
            EXPECT_EQ(logger->getError(), 0);
        }
    }
    const auto blocks =
        block(1234567, "", "success") + block(42, "error: Incorrect user PIN. Attempts left: 2.\n", "failure");
    EXPECT_EQ(readFile(pathOf("run.log")), blocks + blocks);
    EXPECT_EQ(readFile(pathOf("pins/pins.txt")),
              "Token Number;PIN Type;Value\n1234567;user;Gen3rated\n1234567;user;Gen3rated\n");
}

TEST_F(FileLoggersTest, PathsAreCheckedWhenTheSinkIsBuilt)
{
    std::ofstream(pathOf("plain"));
    fs::create_directory(dir_ / "folder");

    for (const auto& name : {"", "logs/"}) {
        EXPECT_THROW(logging::FileLogger{pathOf(name)}, NoFileNameError);
        EXPECT_THROW(logging::PinFileLogger{pathOf(name)}, NoFileNameError);
    }
    EXPECT_FALSE(fs::exists(dir_ / "logs"));

    // One folder level is created, never two, and only for the log, and not for a name too long:
    // the PIN file waits for its first row.
    EXPECT_THROW(logging::FileLogger{pathOf("a/b/x.log")}, FolderNotFoundError);
    EXPECT_THROW(logging::PinFileLogger{pathOf("a/b/x.txt")}, FolderNotFoundError);
    EXPECT_THROW(logging::FileLogger{pathOf("a/" + std::string(256, 'n'))}, NameTooLongError);
    EXPECT_NO_THROW(logging::PinFileLogger{pathOf("b/x.txt")});
    EXPECT_FALSE(fs::exists(dir_ / "b"));
    EXPECT_FALSE(fs::exists(dir_ / "a"));
    const logging::FileLogger oneLevel(pathOf("a/x.log"));
    EXPECT_TRUE(fs::is_regular_file(dir_ / "a/x.log"));

    // Made by structure rather than by permissions, which do not stop root: a parent that is a
    // file cannot become a folder, and a folder cannot be opened as the file.
    EXPECT_THROW(logging::FileLogger{pathOf("plain/x.log")}, FileOpenError);
    EXPECT_THROW(logging::PinFileLogger{pathOf("plain/x.txt")}, FileOpenError);
    EXPECT_THROW(logging::FileLogger{pathOf("folder")}, FileOpenError);
    EXPECT_THROW(logging::PinFileLogger{pathOf("folder")}, FileOpenError);
}

TEST_F(FileLoggersTest, NewFilesAreOwnerOnlyAndExistingOnesKeepTheirModeWithAWarning)
{
    const auto oldMask = umask(022);
    std::ofstream(pathOf("old.log"));
    std::ofstream(pathOf("old.txt"));
    fs::permissions(dir_ / "old.log", fs::perms(0644));
    fs::permissions(dir_ / "old.txt", fs::perms(0640));
    testing::internal::CaptureStderr();
    {
        logging::FileLogger newLog(pathOf("new.log"));
        logging::PinFileLogger newPins(pathOf("pins/new.txt"));
        logging::FileLogger oldLog(pathOf("old.log"));
        logging::PinFileLogger oldPins(pathOf("old.txt"));
        EXPECT_FALSE(fs::exists(dir_ / "pins"));
        for (logging::PinFileLogger* pins : {&newPins, &oldPins}) {
            pins->add(logging::OperationRecord{"t", "m", 5});
            pins->add(5, logging::PinRecord{"new-pin", "user", "Gen3rated"});
            pins->flush(5);
        }
    }
    umask(oldMask);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: " + pathOf("old.log") + " can be read by other users (mode 0644).\n" +
                  "Warning: " + pathOf("old.txt") + " can be read by other users (mode 0640).\n");
    EXPECT_EQ(modeOf(pathOf("new.log")), 0600u);
    EXPECT_EQ(modeOf(pathOf("pins")), 0700u);
    EXPECT_EQ(modeOf(pathOf("pins/new.txt")), 0600u);
    EXPECT_EQ(modeOf(pathOf("old.log")), 0644u);
    EXPECT_EQ(modeOf(pathOf("old.txt")), 0640u);
    // An existing PIN file gets no header.
    EXPECT_EQ(readFile(pathOf("old.txt")), "5;user;Gen3rated\n");
}

// The warning writes the file's name with its control characters escaped, as all output does.
TEST_F(FileLoggersTest, TheWarningEscapesTheFileName)
{
    const std::string name = "odd\x1b\xc2\x9b.log";
    std::ofstream(pathOf(name));
    fs::permissions(dir_ / name, fs::perms(0644));
    testing::internal::CaptureStderr();
    {
        const logging::FileLogger log(pathOf(name));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: " + pathOf("odd\\x1b\\u009b.log") + " can be read by other users (mode 0644).\n");
}

TEST_F(FileLoggersTest, TokenWhoseFileCannotBeMadeLeavesNoLogger)
{
    std::ofstream(pathOf("qvadmin-logs"));
    logging::MultiFileLogger logger(dir_.string());
    logger.add(setUserPinCommand());
    EXPECT_ANY_THROW(logger.add(logging::OperationRecord{"t", "m", 5}));
    EXPECT_EQ(logger.getError(), 0);
}

} // namespace
