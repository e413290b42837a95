#pragma once

#include <exception>

class StandardOutputWriteError : public std::exception {
public:
    const char* what() const noexcept override;
};

// Pushes out what the command printed; a run whose output was lost must not succeed.
void flushStandardOutput();
