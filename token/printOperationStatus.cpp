#include "token/printOperationStatus.h"

#include <iostream>

void printOperationStatus(bool success)
{
    std::cout << "status: " << (success ? "success" : "failure") << std::endl;
}
