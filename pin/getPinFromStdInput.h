#pragma once

#include <string>

// Shows the prompt on standard output and reads one line from standard input without
// echo: the line feed is dropped, and one CR right before it; end of input gives what was
// read so far. A line feed follows on standard output, in place of the Enter that was not
// echoed. Throws PinReadError when standard input cannot be read.
std::string getPinFromStdInput(const std::string& prompt);
