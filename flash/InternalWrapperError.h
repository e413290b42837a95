#pragma once

#include <exception>

namespace quorvik::qvflash {

// The flash bindings were used in a way they do not support.
class InternalWrapperError : public std::exception {
public:
    const char* what() const noexcept override;
};

} // namespace quorvik::qvflash
