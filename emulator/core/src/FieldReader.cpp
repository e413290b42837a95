#include "FieldReader.h"

#include "qvtoken-core/Errors.h"

namespace qvtoken {

using boost::property_tree::ptree;

FieldReader::FieldReader(const ptree& tree, std::string path) : tree_(tree), path_(std::move(path)) {}

std::string FieldReader::name(const std::string& key) const
{
    return path_.empty() ? key : path_ + "." + key;
}

void FieldReader::fail(const std::string& key, const std::string& why) const
{
    throw BadField((key.empty() ? path_ : name(key)) + ": " + why);
}

bool FieldReader::has(const std::string& key) const
{
    return tree_.find(key) != tree_.not_found();
}

const ptree& FieldReader::leafOrChild(const std::string& key) const
{
    const auto found = tree_.find(key);
    if (found == tree_.not_found())
        fail(key, "missing");
    return found->second;
}

FieldReader FieldReader::child(const std::string& key) const
{
    return FieldReader(leafOrChild(key), name(key));
}

unsigned long long FieldReader::parseNumber(const std::string& field, const std::string& text, unsigned long long min,
                                            unsigned long long max) const
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        throw BadField(field + ": not a number: \"" + text + "\"");
    unsigned long long value = 0;
    for (const char digit : text) {
        const unsigned d = static_cast<unsigned>(digit - '0');
        if (value > (ULLONG_MAX - d) / 10)
            throw BadField(field + ": out of range: " + text);
        value = value * 10 + d;
    }
    if (value < min || value > max)
        throw BadField(field + ": out of range " + std::to_string(min) + ".." + std::to_string(max) + ": " + text);
    return value;
}

unsigned long long FieldReader::number(const std::string& key, unsigned long long max, unsigned long long min) const
{
    return parseNumber(name(key), leafOrChild(key).data(), min, max);
}

unsigned long long FieldReader::numberValue(unsigned long long max) const
{
    return parseNumber(path_, tree_.data(), 0, max);
}

long long FieldReader::signedNumber(const std::string& key, long long min, long long max) const
{
    const std::string text = leafOrChild(key).data();
    const bool negative = !text.empty() && text.front() == '-';
    const unsigned long long magnitude =
        parseNumber(name(key), negative ? text.substr(1) : text, 0,
                    negative ? 0ULL - static_cast<unsigned long long>(min) : static_cast<unsigned long long>(max));
    const long long value = negative ? -static_cast<long long>(magnitude - 1) - 1 : static_cast<long long>(magnitude);
    if (value < min || value > max)
        fail(key, "out of range " + std::to_string(min) + ".." + std::to_string(max) + ": " + text);
    return value;
}

bool FieldReader::flag(const std::string& key) const
{
    const std::string text = leafOrChild(key).data();
    if (text != "true" && text != "false")
        fail(key, "not true or false: \"" + text + "\"");
    return text == "true";
}

std::string FieldReader::word(const std::string& key) const
{
    return leafOrChild(key).data();
}

std::string FieldReader::text(const std::string& key) const
{
    if (has(key + "Hex")) {
        const Bytes value = bytes(key + "Hex");
        return std::string(value.begin(), value.end());
    }
    return word(key);
}

Bytes FieldReader::bytes(const std::string& key) const
{
    try {
        return fromHex(leafOrChild(key).data());
    } catch (const BadHexError&) {
        fail(key, "not hex bytes");
    }
}

Bytes FieldReader::bytes(const std::string& key, std::size_t size) const
{
    Bytes value = bytes(key);
    if (value.size() != size)
        fail(key, "not " + std::to_string(size) + " bytes");
    return value;
}

Bytes FieldReader::bytesValue() const
{
    try {
        return fromHex(tree_.data());
    } catch (const BadHexError&) {
        fail("", "not hex bytes");
    }
}

} // namespace qvtoken
