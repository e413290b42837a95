#pragma once

#include <exception>

// The program's own image, in which the module is linked, could not be opened.
class PkcsLoadingError : public std::exception {
public:
    const char* what() const noexcept override;
};
