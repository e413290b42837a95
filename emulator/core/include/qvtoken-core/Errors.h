#pragma once

#include <stdexcept>
#include <string>

namespace qvtoken {

// Every failure of the token state store; each class carries its own fixed text,
// followed where useful by the file or token it concerns.
class StateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class BadHexError : public StateError {
public:
    BadHexError() : StateError("Malformed hex byte string.") {}
};

class StateFormatError : public StateError {
public:
    explicit StateFormatError(const std::string& where) : StateError("Malformed token state: " + where) {}
};

class StateIoError : public StateError {
public:
    explicit StateIoError(const std::string& where) : StateError("Token state file access failed: " + where) {}
};

// A state directory others could change: tokens there could be swapped or read through planted
// links, so the store refuses it.
class UnsafeDirectoryError : public StateError {
public:
    UnsafeDirectoryError(const std::string& directory, const std::string& why)
        : StateError("Token state directory refused: " + directory + " " + why + ".")
    {
    }
};

class TokenNotFoundError : public StateError {
public:
    explicit TokenNotFoundError(const std::string& serial) : StateError("No virtual token with serial " + serial + ".")
    {
    }
};

class TokenExistsError : public StateError {
public:
    explicit TokenExistsError(const std::string& serial)
        : StateError("A virtual token with serial " + serial + " already exists.")
    {
    }
};

} // namespace qvtoken
