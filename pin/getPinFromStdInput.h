#pragma once

#include <string>

// Shows the prompt on standard output and reads one line from standard input without
// echo: the line feed is dropped, nothing else; end of input gives what was read so far.
// A line feed follows on standard output, in place of the Enter that was not echoed.
std::string getPinFromStdInput(const std::string& prompt);
