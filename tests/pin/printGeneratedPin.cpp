#include "pin/generatePin.h"

#include <cstdio>

// Prints one generated PIN, so that a test can compare the PINs of separate runs.
int main()
{
    std::puts(generatePin(16, {}).c_str());
}
