#pragma once

#include <boost/any.hpp>

#include <string>
#include <vector>

// The option library reads unsigned numbers with a conversion that accepts a leading
// minus sign and wraps around, so "-1" would become the largest value. These overloads
// refuse such text as an invalid option value. They live in namespace boost so that the
// library's unqualified call finds them, through boost::any, for scalar and vector
// options alike; every file that builds an unsigned option includes this header.
namespace boost {
void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned short*, int);
void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned int*, int);
void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned long*, int);
void validate(boost::any& value, const std::vector<std::string>& tokens, unsigned long long*, int);
} // namespace boost
