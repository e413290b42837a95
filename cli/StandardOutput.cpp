#include "cli/StandardOutput.h"

#include <cstdio>
#include <iostream>

const char* StandardOutputWriteError::what() const noexcept
{
    return "Failed to write to the standard output.";
}

void flushStandardOutput()
{
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        throw StandardOutputWriteError();
    }
}
