#include "pin/wipeString.h"

void wipeString(std::string& secret) noexcept
{
    volatile char* byte = secret.data();
    for (std::size_t i = 0; i < secret.size(); ++i) {
        byte[i] = 0;
    }
    secret.clear();
}
