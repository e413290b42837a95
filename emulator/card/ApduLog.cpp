#include "ApduLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace qvcard {
namespace {

std::string timestamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s.%03dZ", text, static_cast<int>(millis));
    return withMillis;
}

} // namespace

ApduLog::ApduLog(std::filesystem::path file) : file_(std::move(file)) {}

void ApduLog::exchange(const Bytes& command, const Bytes& response) const
{
    append(toSpacedHex(command) + " -> " + toSpacedHex(response));
}

void ApduLog::control(std::uint8_t code) const
{
    static const char* const names[] = {"power off", "power on", "reset"};
    append(std::string("control ") + toSpacedHex({code}) + (code < 3 ? std::string(" (") + names[code] + ")" : ""));
}

void ApduLog::note(const Bytes& command, const std::string& what) const
{
    append(toSpacedHex(command) + " -> (" + what + ")");
}

void ApduLog::append(const std::string& line) const
{
    const std::string text = timestamp() + " " + line + "\n";
    const int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    // One write per line: O_APPEND keeps lines whole even when a test truncates the file.
    const ssize_t written = ::write(fd, text.data(), text.size());
    static_cast<void>(written);
    ::close(fd);
}

} // namespace qvcard
