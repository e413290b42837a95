#pragma once

#include <stdexcept>
#include <string>

namespace qvfl {

// An object was used in a state in which the operation has no answer.
class InvalidState : public std::logic_error {
public:
    explicit InvalidState(const std::string& message) : std::logic_error(message) {}
};

} // namespace qvfl
