#pragma once

#include <string>

// Overwrites a PIN copy with zeros in a way the compiler may not drop, then empties it.
void wipeString(std::string& secret) noexcept;
