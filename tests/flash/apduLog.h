#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// The APDU log a virtual card keeps in the fixture's state directory.
inline std::string apduLogPath(std::uint64_t serial)
{
    return std::string(std::getenv("QVTOKEN_STATE_DIR")) + "/" + std::to_string(serial) + ".apdu.log";
}

inline void clearApduLog(std::uint64_t serial)
{
    std::ofstream(apduLogPath(serial), std::ios::trunc);
}

// The commands the card got since the log was cleared whose bytes start with `prefix`.
inline std::vector<std::string> sentApdus(std::uint64_t serial, const std::string& prefix = "")
{
    std::ifstream file(apduLogPath(serial));
    std::vector<std::string> commands;
    for (std::string line; std::getline(file, line);) {
        const std::string command = line.substr(line.find(' ') + 1);
        if (command.rfind(prefix, 0) == 0)
            commands.push_back(command.substr(0, command.find(" ->")));
    }
    return commands;
}
