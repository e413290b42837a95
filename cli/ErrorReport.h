#pragma once

#include <exception>

// Writes the three lines of a syntax-error report to the standard error stream.
void printCliErrorMessage(const std::exception& error);

// Reports the exception being handled on the standard error stream, in the program's
// words for its kind, and returns the entry point's failure result. Call only from
// within a catch block.
int reportCurrentException() noexcept;
