#include "cli/UnsignedValueValidation.h"

#include <boost/lexical_cast.hpp>
#include <boost/program_options/errors.hpp>
#include <boost/program_options/value_semantic.hpp>

#include <cctype>

namespace {
bool startsWithMinus(const std::string& text)
{
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            return c == '-';
        }
    }
    return false;
}

template <typename T>
void validateUnsigned(boost::any& value, const std::vector<std::string>& tokens)
{
    namespace po = boost::program_options;
    po::validators::check_first_occurrence(value);
    const std::string& text = po::validators::get_single_string(tokens);
    if (startsWithMinus(text)) {
        throw po::invalid_option_value(text);
    }
    try {
        value = boost::any(boost::lexical_cast<T>(text));
    } catch (const boost::bad_lexical_cast&) {
        throw po::invalid_option_value(text);
    }
}
} // namespace

namespace boost {
void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned short*, int)
{
    validateUnsigned<unsigned short>(value, tokens);
}

void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned int*, int)
{
    validateUnsigned<unsigned int>(value, tokens);
}

void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned long*, int)
{
    validateUnsigned<unsigned long>(value, tokens);
}

void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned long long*, int)
{
    validateUnsigned<unsigned long long>(value, tokens);
}
} // namespace boost
