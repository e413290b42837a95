#pragma once

#include "pkcs11/AttributeType.h"
#include "pkcs11/Pkcs11Interface.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

// One exception class per return value the module may give; `emit` picks it.
// Each row: the class, then the return value, whose name is the message text.
#define QV_PKCS11_RETURN_VALUES(X)                                                                                     \
    X(CancelException, CKR_CANCEL)                                                                                     \
    X(HostMemoryException, CKR_HOST_MEMORY)                                                                            \
    X(SlotIdInvalidException, CKR_SLOT_ID_INVALID)                                                                     \
    X(GeneralErrorException, CKR_GENERAL_ERROR)                                                                        \
    X(FunctionFailedException, CKR_FUNCTION_FAILED)                                                                    \
    X(ArgumentsBadException, CKR_ARGUMENTS_BAD)                                                                        \
    X(NoEventException, CKR_NO_EVENT)                                                                                  \
    X(NeedToCreateThreadsException, CKR_NEED_TO_CREATE_THREADS)                                                        \
    X(CantLockException, CKR_CANT_LOCK)                                                                                \
    X(AttributeReadOnlyException, CKR_ATTRIBUTE_READ_ONLY)                                                             \
    X(AttributeSensitiveException, CKR_ATTRIBUTE_SENSITIVE)                                                            \
    X(AttributeTypeInvalidException, CKR_ATTRIBUTE_TYPE_INVALID)                                                       \
    X(AttributeValueInvalidException, CKR_ATTRIBUTE_VALUE_INVALID)                                                     \
    X(ActionProhibitedException, CKR_ACTION_PROHIBITED)                                                                \
    X(DataInvalidException, CKR_DATA_INVALID)                                                                          \
    X(DataLenRangeException, CKR_DATA_LEN_RANGE)                                                                       \
    X(DeviceErrorException, CKR_DEVICE_ERROR)                                                                          \
    X(DeviceMemoryException, CKR_DEVICE_MEMORY)                                                                        \
    X(DeviceRemovedException, CKR_DEVICE_REMOVED)                                                                      \
    X(EncryptedDataInvalidException, CKR_ENCRYPTED_DATA_INVALID)                                                       \
    X(EncryptedDataLenRangeException, CKR_ENCRYPTED_DATA_LEN_RANGE)                                                    \
    X(FunctionCanceledException, CKR_FUNCTION_CANCELED)                                                                \
    X(FunctionNotParallelException, CKR_FUNCTION_NOT_PARALLEL)                                                         \
    X(FunctionNotSupportedException, CKR_FUNCTION_NOT_SUPPORTED)                                                       \
    X(KeyHandleInvalidException, CKR_KEY_HANDLE_INVALID)                                                               \
    X(KeySizeRangeException, CKR_KEY_SIZE_RANGE)                                                                       \
    X(KeyTypeInconsistentException, CKR_KEY_TYPE_INCONSISTENT)                                                         \
    X(KeyNotNeededException, CKR_KEY_NOT_NEEDED)                                                                       \
    X(KeyChangedException, CKR_KEY_CHANGED)                                                                            \
    X(KeyNeededException, CKR_KEY_NEEDED)                                                                              \
    X(KeyIndigestibleException, CKR_KEY_INDIGESTIBLE)                                                                  \
    X(KeyFunctionNotPermittedException, CKR_KEY_FUNCTION_NOT_PERMITTED)                                                \
    X(KeyNotWrappableException, CKR_KEY_NOT_WRAPPABLE)                                                                 \
    X(KeyUnextractableException, CKR_KEY_UNEXTRACTABLE)                                                                \
    X(MechanismInvalidException, CKR_MECHANISM_INVALID)                                                                \
    X(MechanismParamInvalidException, CKR_MECHANISM_PARAM_INVALID)                                                     \
    X(ObjectHandleInvalidException, CKR_OBJECT_HANDLE_INVALID)                                                         \
    X(OperationActiveException, CKR_OPERATION_ACTIVE)                                                                  \
    X(OperationNotInitializedException, CKR_OPERATION_NOT_INITIALIZED)                                                 \
    X(PinIncorrectException, CKR_PIN_INCORRECT)                                                                        \
    X(PinInvalidException, CKR_PIN_INVALID)                                                                            \
    X(PinLenRangeException, CKR_PIN_LEN_RANGE)                                                                         \
    X(PinExpiredException, CKR_PIN_EXPIRED)                                                                            \
    X(PinLockedException, CKR_PIN_LOCKED)                                                                              \
    X(SessionClosedException, CKR_SESSION_CLOSED)                                                                      \
    X(SessionCountException, CKR_SESSION_COUNT)                                                                        \
    X(SessionHandleInvalidException, CKR_SESSION_HANDLE_INVALID)                                                       \
    X(SessionParallelNotSupportedException, CKR_SESSION_PARALLEL_NOT_SUPPORTED)                                        \
    X(SessionReadOnlyException, CKR_SESSION_READ_ONLY)                                                                 \
    X(SessionExistsException, CKR_SESSION_EXISTS)                                                                      \
    X(SessionReadOnlyExistsException, CKR_SESSION_READ_ONLY_EXISTS)                                                    \
    X(SessionReadWriteSoExistsException, CKR_SESSION_READ_WRITE_SO_EXISTS)                                             \
    X(SignatureInvalidException, CKR_SIGNATURE_INVALID)                                                                \
    X(SignatureLenRangeException, CKR_SIGNATURE_LEN_RANGE)                                                             \
    X(TemplateIncompleteException, CKR_TEMPLATE_INCOMPLETE)                                                            \
    X(TemplateInconsistentException, CKR_TEMPLATE_INCONSISTENT)                                                        \
    X(TokenNotPresentException, CKR_TOKEN_NOT_PRESENT)                                                                 \
    X(TokenNotRecognizedException, CKR_TOKEN_NOT_RECOGNIZED)                                                           \
    X(TokenWriteProtectedException, CKR_TOKEN_WRITE_PROTECTED)                                                         \
    X(UnwrappingKeyHandleInvalidException, CKR_UNWRAPPING_KEY_HANDLE_INVALID)                                          \
    X(UnwrappingKeySizeRangeException, CKR_UNWRAPPING_KEY_SIZE_RANGE)                                                  \
    X(UnwrappingKeyTypeInconsistentException, CKR_UNWRAPPING_KEY_TYPE_INCONSISTENT)                                    \
    X(UserAlreadyLoggedInException, CKR_USER_ALREADY_LOGGED_IN)                                                        \
    X(UserNotLoggedInException, CKR_USER_NOT_LOGGED_IN)                                                                \
    X(UserPinNotInitializedException, CKR_USER_PIN_NOT_INITIALIZED)                                                    \
    X(UserTypeInvalidException, CKR_USER_TYPE_INVALID)                                                                 \
    X(UserAnotherAlreadyLoggedInException, CKR_USER_ANOTHER_ALREADY_LOGGED_IN)                                         \
    X(UserTooManyTypesException, CKR_USER_TOO_MANY_TYPES)                                                              \
    X(WrappedKeyInvalidException, CKR_WRAPPED_KEY_INVALID)                                                             \
    X(WrappedKeyLenRangeException, CKR_WRAPPED_KEY_LEN_RANGE)                                                          \
    X(WrappingKeyHandleInvalidException, CKR_WRAPPING_KEY_HANDLE_INVALID)                                              \
    X(WrappingKeySizeRangeException, CKR_WRAPPING_KEY_SIZE_RANGE)                                                      \
    X(WrappingKeyTypeInconsistentException, CKR_WRAPPING_KEY_TYPE_INCONSISTENT)                                        \
    X(RandomSeedNotSupportedException, CKR_RANDOM_SEED_NOT_SUPPORTED)                                                  \
    X(RandomNoRngException, CKR_RANDOM_NO_RNG)                                                                         \
    X(DomainParamsInvalidException, CKR_DOMAIN_PARAMS_INVALID)                                                         \
    X(CurveNotSupportedException, CKR_CURVE_NOT_SUPPORTED)                                                             \
    X(BufferTooSmallException, CKR_BUFFER_TOO_SMALL)                                                                   \
    X(SavedStateInvalidException, CKR_SAVED_STATE_INVALID)                                                             \
    X(InformationSensitiveException, CKR_INFORMATION_SENSITIVE)                                                        \
    X(StateUnsaveableException, CKR_STATE_UNSAVEABLE)                                                                  \
    X(CryptokiNotInitializedException, CKR_CRYPTOKI_NOT_INITIALIZED)                                                   \
    X(CryptokiAlreadyInitializedException, CKR_CRYPTOKI_ALREADY_INITIALIZED)                                           \
    X(MutexBadException, CKR_MUTEX_BAD)                                                                                \
    X(MutexNotLockedException, CKR_MUTEX_NOT_LOCKED)                                                                   \
    X(NewPinModeException, CKR_NEW_PIN_MODE)                                                                           \
    X(NextOtpException, CKR_NEXT_OTP)                                                                                  \
    X(ExceededMaxIterationsException, CKR_EXCEEDED_MAX_ITERATIONS)                                                     \
    X(FipsSelfTestFailedException, CKR_FIPS_SELF_TEST_FAILED)                                                          \
    X(LibraryLoadFailedException, CKR_LIBRARY_LOAD_FAILED)                                                             \
    X(PinTooWeakException, CKR_PIN_TOO_WEAK)                                                                           \
    X(PublicKeyInvalidException, CKR_PUBLIC_KEY_INVALID)                                                               \
    X(FunctionRejectedException, CKR_FUNCTION_REJECTED)                                                                \
    X(CorruptedMapFileException, CKR_CORRUPTED_MAPFILE)                                                                \
    X(WrongVersionFileException, CKR_WRONG_VERSION_FIELD)                                                              \
    X(WrongPkcs11EncodingException, CKR_WRONG_PKCS1_ENCODING)                                                          \
    X(QvPkcs11DataCorruptedException, CKR_QVPKCS11_DATA_CORRUPTED)                                                     \
    X(QvPkcs11RsfDataCorruptedException, CKR_QVPKCS11_RSF_DATA_CORRUPTED)                                              \
    X(SmPasswordInvalidException, CKR_SM_PASSWORD_INVALID)                                                             \
    X(VendorEmitentKeyBlockedException, CKR_VENDOR_EMITENT_KEY_BLOCKED)                                                \
    X(CertChainNotVerifiedException, CKR_CERT_CHAIN_NOT_VERIFIED)                                                      \
    X(InappropriatePinException, CKR_INAPPROPRIATE_PIN)                                                                \
    X(PinInHistoryException, CKR_PIN_IN_HISTORY)

namespace quorvik::pkcs11 {

// Root of every error the bindings raise; carries the module's return value (0 for errors the
// bindings find themselves).
class Pkcs11Exception : public std::exception {
public:
    // Throws the class of `rv`; a value without a class gives "PKCS11: unknown error <hex>".
    // A custom text replaces the return value's name in the message.
    [[noreturn]] static void emit(unsigned long rv, std::optional<std::string> text);

    unsigned long rv() const noexcept { return rv_; }
    const char* what() const noexcept override { return message_.c_str(); }

protected:
    Pkcs11Exception(unsigned long rv, std::string message) : rv_(rv), message_(std::move(message)) {}

private:
    unsigned long rv_;
    std::string message_;
};

#define QV_PKCS11_DECLARE_CODE_EXCEPTION(Class, code)                                                                  \
    class Class : public Pkcs11Exception {                                                                             \
    public:                                                                                                            \
        explicit Class(std::optional<std::string> text = std::nullopt);                                                \
    };
QV_PKCS11_RETURN_VALUES(QV_PKCS11_DECLARE_CODE_EXCEPTION)
#undef QV_PKCS11_DECLARE_CODE_EXCEPTION

// An attribute type the factory does not know.
class WrongAttributeTypeException : public Pkcs11Exception {
public:
    explicit WrongAttributeTypeException(AttributeType type);
};

// A value length that does not fit the attribute's kind.
class WrongAttributeLengthException : public Pkcs11Exception {
public:
    WrongAttributeLengthException() : Pkcs11Exception(0, "Wrong PKCS11 attribute length") {}
};

} // namespace quorvik::pkcs11
