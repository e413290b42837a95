#pragma once

#include <cstddef>

// Makes the n-th single-object allocation from now on throw std::bad_alloc (1
// is the next one); 0 disarms. Only the test binary that links failingNew.cpp
// has this behaviour.
void failNewAfter(std::size_t allocations);
