#include <qvflash-utils-core/executeSafe.h>

#include <qvflash-utils-core/threadException.h>

#include <cstdint>
#include <exception>
#include <string>
#include <system_error>

namespace qvfl_utils {

std::mutex detail::sLibCallMutex;

namespace {

Exception describeCurrentException()
{
    try {
        throw;
    } catch (const Exception& failure) {
        return failure;
    } catch (const std::system_error& failure) {
        return Exception(QVFL_UTILS_ST_SYSTEM_ERROR,
                         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE, std::string(failure.what())),
                          Condition(QVFL_UTILS_COND_ERROR_CODE, static_cast<std::int64_t>(failure.code().value()))});
    } catch (const std::exception& failure) {
        return Exception(QVFL_UTILS_ST_INTERNAL_ERROR,
                         {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE, std::string(failure.what()))});
    } catch (...) {
        return Exception(QVFL_UTILS_ST_INTERNAL_ERROR);
    }
}

// Records the exception in flight as the thread's last status. Runs after the
// lock is released so that a slow copy never holds other threads up.
void recordCurrentException()
{
    Exception& last = threadException::getLast();
    try {
        last = describeCurrentException();
    } catch (...) {
        // No memory for the details. The call still failed, and the previous
        // call's conditions must not pass for this one's: a bare internal error
        // (building it allocates nothing).
        last = Exception(QVFL_UTILS_ST_INTERNAL_ERROR);
    }
}

} // namespace

qvfl_utils_StatusCode executeSafe(const std::function<void()>& operation)
{
    try {
        std::function<void()> ownOperation;
        try {
            ownOperation = operation;
        } catch (...) {
            return QVFL_UTILS_ST_INTERNAL_ERROR;
        }
        try {
            std::lock_guard<std::mutex> lock(detail::sLibCallMutex);
            ownOperation();
            threadException::clearLast();
        } catch (...) {
            recordCurrentException();
        }
        return threadException::getLast().code();
    } catch (...) {
        return QVFL_UTILS_ST_INTERNAL_ERROR;
    }
}

qvfl_utils_StatusCode executeSafeNoStatusChange(const std::function<void()>& operation)
{
    try {
        std::lock_guard<std::mutex> lock(detail::sLibCallMutex);
        operation();
        return QVFL_UTILS_ST_OK;
    } catch (...) {
        return QVFL_UTILS_ST_INTERNAL_ERROR;
    }
}

} // namespace qvfl_utils
