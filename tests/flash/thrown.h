#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <typeindex>

// What a call threw as a `Base`: the exception's own class and its text.
struct Thrown {
    std::type_index type = typeid(void);
    std::string what;
};

template <typename Base, typename Call>
Thrown thrownAs(Call call)
{
    try {
        call();
    } catch (const Base& error) {
        return {typeid(error), error.what()};
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

// The exception of type E that a call throws; any other exception, or none, fails the test.
template <typename E, typename Call>
E thrownBy(Call call)
{
    try {
        call();
    } catch (const E& error) {
        return error;
    }
    throw std::logic_error("nothing thrown");
}
