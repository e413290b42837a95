#include "cli/TypedValueSemantic.h"

#include <boost/lexical_cast.hpp>
#include <boost/program_options/errors.hpp>

#include <cctype>

namespace options::detail {

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
} // namespace

template <typename U>
U parseUnsigned(const std::string& text)
{
    if (startsWithMinus(text)) {
        throw boost::program_options::invalid_option_value(text);
    }
    try {
        return boost::lexical_cast<U>(text);
    } catch (const boost::bad_lexical_cast&) {
        throw boost::program_options::invalid_option_value(text);
    }
}

template unsigned short parseUnsigned<unsigned short>(const std::string&);
template unsigned int parseUnsigned<unsigned int>(const std::string&);
template unsigned long parseUnsigned<unsigned long>(const std::string&);
template unsigned long long parseUnsigned<unsigned long long>(const std::string&);

void checkSingleOccurrence(const boost::any& valueStore)
{
    boost::program_options::validators::check_first_occurrence(valueStore);
}

const std::string& singleToken(const std::vector<std::string>& tokens)
{
    return boost::program_options::validators::get_single_string(tokens);
}

} // namespace options::detail
