#pragma once

#include <boost/any.hpp>
#include <boost/program_options/value_semantic.hpp>

#include <string>
#include <type_traits>
#include <vector>

namespace options {

namespace detail {

template <typename T>
struct IsUnsigned : std::bool_constant<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>> {
};

template <typename T>
struct UnsignedElement : std::false_type {
};

template <typename U>
struct UnsignedElement<std::vector<U>> : IsUnsigned<U> {
};

// The number in one word, or invalid_option_value naming the word.
template <typename U>
U parseUnsigned(const std::string& text);

extern template unsigned short parseUnsigned<unsigned short>(const std::string&);
extern template unsigned int parseUnsigned<unsigned int>(const std::string&);
extern template unsigned long parseUnsigned<unsigned long>(const std::string&);
extern template unsigned long long parseUnsigned<unsigned long long>(const std::string&);

void checkSingleOccurrence(const boost::any& valueStore);
const std::string& singleToken(const std::vector<std::string>& tokens);

} // namespace detail

// The option library reads unsigned numbers with a conversion that accepts a leading
// minus sign and wraps around, so "-1" would become the largest value. Every typed
// value is made here, and unsigned ones (alone or in a list) refuse such text as an
// invalid option value; everything else reads as the library reads it.
template <typename T>
class TypedValueSemantic : public boost::program_options::typed_value<T> {
public:
    TypedValueSemantic() : boost::program_options::typed_value<T>(nullptr) {}

    void xparse(boost::any& valueStore, const std::vector<std::string>& tokens) const override
    {
        if constexpr (detail::IsUnsigned<T>::value) {
            detail::checkSingleOccurrence(valueStore);
            valueStore = boost::any(detail::parseUnsigned<T>(detail::singleToken(tokens)));
        } else if constexpr (detail::UnsignedElement<T>::value) {
            // A list given more than once grows with each occurrence.
            if (valueStore.empty()) {
                valueStore = boost::any(T());
            }
            T* values = boost::any_cast<T>(&valueStore);
            for (const auto& token : tokens) {
                values->push_back(detail::parseUnsigned<typename T::value_type>(token));
            }
        } else {
            boost::program_options::typed_value<T>::xparse(valueStore, tokens);
        }
    }
};

template <typename T>
TypedValueSemantic<T>* value()
{
    return new TypedValueSemantic<T>();
}

} // namespace options
