#pragma once

#include <cstddef>

// A uniformly distributed number from 0 to bound - 1 (bound > 0), drawn from the operating
// system's cryptographic source on every call: generated PINs must not follow from anything an
// onlooker can know, such as the time a run started, and concurrent callers share no state.
// Throws std::system_error when the system cannot deliver random bytes.
std::size_t randomBelow(std::size_t bound);
