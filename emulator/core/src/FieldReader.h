#pragma once

#include "qvtoken-core/Bytes.h"

#include <boost/property_tree/ptree.hpp>

#include <climits>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvtoken {

// A field of a state file that is missing or holds no value of its kind and range; the text
// names the field by its path, for example "drive.sections[1].size: out of range 1..65535".
class BadField : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads one JSON object of a state file strictly: every field asked for must be present and
// hold a value of its kind within its range, so a damaged file never loads as defaults.
class FieldReader {
public:
    FieldReader(const boost::property_tree::ptree& tree, std::string path);

    const std::string& path() const { return path_; }
    bool has(const std::string& key) const;
    FieldReader child(const std::string& key) const;

    // Decimal digits only, within min..max.
    unsigned long long number(const std::string& key, unsigned long long max = ULLONG_MAX,
                              unsigned long long min = 0) const;
    long long signedNumber(const std::string& key, long long min, long long max) const;
    bool flag(const std::string& key) const;
    std::string word(const std::string& key) const;
    // Text under `key`, or hex bytes under `key`Hex.
    std::string text(const std::string& key) const;
    Bytes bytes(const std::string& key) const;
    Bytes bytes(const std::string& key, std::size_t size) const;
    // The value of this node itself, for list items.
    unsigned long long numberValue(unsigned long long max = ULLONG_MAX) const;
    Bytes bytesValue() const;

    // Every item of the list under `key`, each read by `decode(FieldReader)`.
    template <typename T, typename Decode>
    std::vector<T> list(const std::string& key, Decode decode) const
    {
        std::vector<T> items;
        std::size_t index = 0;
        const auto& node = leafOrChild(key);
        // An empty list is written as "".
        if (node.empty() && !node.data().empty())
            fail(key, "not a list");
        for (const auto& item : node)
            items.push_back(decode(FieldReader(item.second, name(key) + "[" + std::to_string(index++) + "]")));
        return items;
    }

    [[noreturn]] void fail(const std::string& key, const std::string& why) const;

private:
    std::string name(const std::string& key) const;
    const boost::property_tree::ptree& leafOrChild(const std::string& key) const;
    unsigned long long parseNumber(const std::string& field, const std::string& text, unsigned long long min,
                                   unsigned long long max) const;

    const boost::property_tree::ptree& tree_;
    std::string path_;
};

} // namespace qvtoken
