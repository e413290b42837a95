#include "runningProcesses.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

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
        std::ifstream file(entry.path() / "stat");
        const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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
    for (int i = 0; i < 1000; ++i) {
        const auto running = runningProcesses();
        if (std::none_of(running.begin(), running.end(),
                         [group](const RunningProcess& process) { return process.group == group; })) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
