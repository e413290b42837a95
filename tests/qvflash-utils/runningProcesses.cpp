#include "runningProcesses.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The text of /proc/PID/stat, or nothing once the process has ended: an error at any step means
// that it was reaped meanwhile.
std::string statOf(const std::string& pid)
{
    std::string text;
    const int file = open(("/proc/" + pid + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return text;
    }
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(file, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(file);
    return got < 0 ? std::string() : text;
}

} // namespace

std::vector<RunningProcess> runningProcesses()
{
    std::vector<RunningProcess> running;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (!std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); })) {
            continue;
        }
        // "pid (name) state parent group ...", where the name may hold blanks and parentheses.
        const std::string stat = statOf(name);
        const auto nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos) {
            continue; // ended meanwhile
        }
        std::istringstream fields(stat.substr(nameEnd + 1));
        char state = 0;
        RunningProcess process{std::stoi(name), 0, 0};
        if (fields >> state >> process.parent >> process.group && state != 'Z' && state != 'X') {
            running.push_back(process);
        }
    }
    return running;
}

bool groupEnds(pid_t group)
{
    // The group is killed within milliseconds of its end: a few seconds, well under the test
    // profilers' own lifetime, tell a group that is never killed from a slow machine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (;;) {
        const auto running = runningProcesses();
        if (std::none_of(running.begin(), running.end(),
                         [group](const RunningProcess& process) { return process.group == group; })) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
