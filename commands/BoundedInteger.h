#pragma once

#include <istream>
#include <ostream>

// An integer option value that the parser refuses outside [Min, Max] as an invalid value, so
// that a number the token would keep only in part (as its low bits) never reaches it.
template <long long Min, long long Max>
struct BoundedInteger {
    long long value = 0;
};

template <long long Min, long long Max>
std::istream& operator>>(std::istream& in, BoundedInteger<Min, Max>& number)
{
    long long read = 0;
    if (!(in >> read)) {
        return in;
    }
    if (read < Min || read > Max) {
        in.setstate(std::ios::failbit);
    } else {
        number.value = read;
    }
    return in;
}

template <long long Min, long long Max>
std::ostream& operator<<(std::ostream& out, const BoundedInteger<Min, Max>& number)
{
    return out << number.value;
}
