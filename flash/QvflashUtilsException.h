#pragma once

#include "qvflash-utils.h"

#include <exception>
#include <string>

// One exception class per status the snapshot library may return; `emit` picks it.
// Each row: the class, then the status, whose name stands in when the library has no text.
#define QV_QVFLASH_UTILS_STATUS_CODES(X)                                                                               \
    X(InternalErrorException, QVFL_UTILS_ST_INTERNAL_ERROR)                                                            \
    X(NullPtrArgException, QVFL_UTILS_ST_NULL_PTR_ARG)                                                                 \
    X(SystemErrorException, QVFL_UTILS_ST_SYSTEM_ERROR)                                                                \
    X(NoCpuInfoException, QVFL_UTILS_ST_NO_CPU_INFO)                                                                   \
    X(NoHdInfoException, QVFL_UTILS_ST_NO_HD_INFO)

namespace quorvik::qvflash_utils {

// Root of every error the snapshot library reports; only the class and the text tell which.
class QvflashUtilsException : public std::exception {
public:
    // Returns for 0; otherwise throws the class of `code` worded with `description` (may be
    // null), or UnknownException for a status without a class.
    static void emit(qvfl_utils_StatusCode code, const char* description);
};

#define QV_QVFLASH_UTILS_DECLARE_STATUS_EXCEPTION(Class, code)                                                         \
    class Class : public QvflashUtilsException {                                                                       \
    public:                                                                                                            \
        explicit Class(const char* description);                                                                       \
        const char* what() const noexcept override;                                                                    \
                                                                                                                       \
    private:                                                                                                           \
        std::string what_;                                                                                             \
    };
QV_QVFLASH_UTILS_STATUS_CODES(QV_QVFLASH_UTILS_DECLARE_STATUS_EXCEPTION)
#undef QV_QVFLASH_UTILS_DECLARE_STATUS_EXCEPTION

class UnknownException : public QvflashUtilsException {
public:
    const char* what() const noexcept override;
};

} // namespace quorvik::qvflash_utils
