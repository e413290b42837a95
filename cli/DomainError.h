#pragma once

#include <exception>
#include <string>

// Errors about the tokens found or the operation asked of them.
class DomainError : public std::exception {
protected:
    DomainError() = default;
};

class PinConfirmationFailedError : public DomainError {
public:
    explicit PinConfirmationFailedError(const std::string& pinName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class NoneOwnerNotAllowedError : public DomainError {
public:
    NoneOwnerNotAllowedError();
    const char* what() const noexcept override;

private:
    std::string message;
};

class WrongPinError : public DomainError {
public:
    WrongPinError(std::string ownerName, long long attemptsLeft);
    const char* what() const noexcept override;

private:
    std::string message;
};

class PinLockedError : public DomainError {
public:
    explicit PinLockedError(std::string ownerName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class WrongMvaError : public DomainError {
public:
    WrongMvaError(std::string mvaName, long long attemptsLeft);
    const char* what() const noexcept override;

private:
    std::string message;
};

class MvaLockedError : public DomainError {
public:
    explicit MvaLockedError(std::string mvaName);
    const char* what() const noexcept override;

private:
    std::string message;
};

class LocalPinAlreadyExistsError : public DomainError {
public:
    const char* what() const noexcept override;
};

class TooManyTokensError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoVolumeError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoTouchInterfaceError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoTokenError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoPinPolicyError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoDriveError : public DomainError {
public:
    const char* what() const noexcept override;
};

class OperationFailedError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoMvaSupportError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoJournalSupportError : public DomainError {
public:
    const char* what() const noexcept override;
};

class InvalidVolumeOwnerCombinationError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NoSecretError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NotLocalUserObjectError : public DomainError {
public:
    const char* what() const noexcept override;
};

class NotMvaObjectError : public DomainError {
public:
    const char* what() const noexcept override;
};

class GenSettingsMissingError : public DomainError {
public:
    const char* what() const noexcept override;
};

class TooShortGeneratedPinLength : public DomainError {
public:
    const char* what() const noexcept override;
};

class UnsupportedAuthTypeError : public DomainError {
public:
    const char* what() const noexcept override;
};

class UnnecessaryPinProvidedError : public DomainError {
public:
    const char* what() const noexcept override;
};

class MissingPinError : public DomainError {
public:
    const char* what() const noexcept override;
};

class UnnecessaryLocalPinIdProvidedError : public DomainError {
public:
    const char* what() const noexcept override;
};

class MissingLocalPinIdError : public DomainError {
public:
    const char* what() const noexcept override;
};
