#include "commands/ByteCount.h"

#include <istream>
#include <limits>
#include <ostream>

std::istream& operator>>(std::istream& in, ByteCount& count)
{
    long number = 0;
    if (in >> number) {
        if (number < 0 || number > std::numeric_limits<std::uint8_t>::max()) {
            in.setstate(std::ios::failbit);
        } else {
            count.value = static_cast<std::uint8_t>(number);
        }
    }
    return in;
}

std::ostream& operator<<(std::ostream& out, ByteCount count)
{
    return out << static_cast<unsigned>(count.value);
}
