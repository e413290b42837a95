#pragma once

#include <cstdint>
#include <string>

// The console line of a token whose log records could not be kept after its operation ran, in
// the form of the other tokens' lines: "serial: S, model: M, logger error: TEXT". The
// operation's own outcome stands; an error of it has a line of its own.
void printLoggerFailure(std::uint64_t serial, const std::string& model, const std::string& error);
