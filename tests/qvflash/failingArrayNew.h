#pragma once

#include <cstddef>

// Makes the n-th array allocation from now on throw std::bad_alloc (1 is the
// next one); 0 disarms. Only the test binary that links failingArrayNew.cpp
// has this behaviour.
void failArrayNewAfter(std::size_t allocations);
