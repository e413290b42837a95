#pragma once

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

// Every enumeration that appears on the command line has one table of its exact,
// case-sensitive text forms; reading and writing both go through that table, so the
// parser and the output can never disagree.

template <typename E>
std::optional<E> toEnum(const std::string& text);

template <typename E, std::size_t N>
using EnumTextTable = std::array<std::pair<E, const char*>, N>;

template <typename E, std::size_t N>
std::optional<std::string> textOf(const EnumTextTable<E, N>& table, E value)
{
    for (const auto& [entry, text] : table) {
        if (entry == value) {
            return std::string(text);
        }
    }
    return std::nullopt;
}

template <typename E, std::size_t N>
std::optional<E> valueOf(const EnumTextTable<E, N>& table, const std::string& text)
{
    for (const auto& [entry, entryText] : table) {
        if (text == entryText) {
            return entry;
        }
    }
    return std::nullopt;
}

// A value without a text form writes nothing and fails the stream, so a default that
// cannot be shown is refused instead of printed wrongly.
template <typename E>
std::ostream& writeEnumText(std::ostream& out, E value)
{
    if (const auto text = toString(value)) {
        out << *text;
    } else {
        out.setstate(std::ios::failbit);
    }
    return out;
}

// A word that names no value leaves the target unchanged and fails the stream; the
// option parser reports that as an invalid option value.
template <typename E>
std::istream& readEnumText(std::istream& in, E& value)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    if (const auto parsed = toEnum<E>(word)) {
        value = *parsed;
    } else {
        in.setstate(std::ios::failbit);
    }
    return in;
}
