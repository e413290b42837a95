#pragma once

#include <exception>

// Errors that mark a state the program does not expect.
class internalError : public std::exception {
protected:
    internalError() = default;
};

class UnknownError : public internalError {
public:
    const char* what() const noexcept override;
};

class PinManagerUnpreparedError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownPinChangePolicyError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownAccessModeError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownTouchModeError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownUserTypeError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownVolumeOwnerError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownTokenClassError : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownLanguageError : public internalError {
public:
    const char* what() const noexcept override;
};

class NoRecordError : public internalError {
public:
    const char* what() const noexcept override;
};

class RecordAlreadyExistsError : public internalError {
public:
    const char* what() const noexcept override;
};

class NoCommandRecordError : public internalError {
public:
    const char* what() const noexcept override;
};

class CommandRecordAlreadyExistsError : public internalError {
public:
    const char* what() const noexcept override;
};

class NotPrintableTypeError : public internalError {
public:
    const char* what() const noexcept override;
};

class PinRegenerationError : public internalError {
public:
    const char* what() const noexcept override;
};

class WrongCliTokensCount : public internalError {
public:
    const char* what() const noexcept override;
};

class UnknownSectionTypeError : public internalError {
public:
    const char* what() const noexcept override;
};

class InvalidVolumeOwnerError : public internalError {
public:
    const char* what() const noexcept override;
};
