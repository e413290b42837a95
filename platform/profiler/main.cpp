// The profiler of this host layer: for one storage data type it prints each
// disk's serial number and whether it is detachable, indented, one fact a line.
#include "Disk.h"

#include <cstdio>
#include <exception>
#include <string_view>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: qv-system-profiler DATATYPE\n", stderr);
        return 2;
    }
    try {
        for (const platform::Disk& disk : platform::surveyDisks()) {
            if (disk.dataType != std::string_view(argv[1])) {
                continue;
            }
            if (disk.serial) {
                std::printf("      Serial Number: %s\n", disk.serial->c_str());
            }
            std::printf("      Detachable Drive: %s\n", disk.detachable ? "Yes" : "No");
        }
    } catch (const std::exception&) {
        // An unreadable host lists no disk.
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
