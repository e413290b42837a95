#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

// Pairs of a tool value and a back end's code for it; a value or code missing from the table
// has no counterpart, and the caller raises its own error for that.
template <typename Value, typename Code, std::size_t N>
using CodeTable = std::array<std::pair<Value, Code>, N>;

template <typename Value, typename Code, std::size_t N>
std::optional<Code> codeOf(const CodeTable<Value, Code, N>& table, Value value)
{
    for (const auto& [entry, code] : table) {
        if (entry == value) {
            return code;
        }
    }
    return std::nullopt;
}

template <typename Value, typename Code, std::size_t N>
std::optional<Value> valueOfCode(const CodeTable<Value, Code, N>& table, Code code)
{
    for (const auto& [value, entry] : table) {
        if (entry == code) {
            return value;
        }
    }
    return std::nullopt;
}

// The value of a lookup, or the caller's error class when there is none.
template <typename Error, typename Result>
Result orThrow(std::optional<Result> result)
{
    if (!result) {
        throw Error();
    }
    return *result;
}
