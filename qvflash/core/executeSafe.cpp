#include <qvflash-core/core/executeSafe.h>

#include <qvflash-core/core/threadException.h>

#include <exception>
#include <mutex>

namespace qvfl::core {
namespace {

// Serialises every card operation of the process, reconnect polling included.
std::mutex libMutex;

// Records the exception in flight as the thread's last status. Runs outside
// the lock so that a slow copy never holds other threads up.
void recordCurrentException()
{
    try {
        throw;
    } catch (const Exception& failure) {
        threadException::setLast(failure);
    } catch (const std::exception& failure) {
        threadException::setLast(
            Exception(QVFLASH_ST_INTERNAL_ERROR, {Condition(QVFLASH_COND_STD_EXCEPTION, failure.what())}));
    } catch (...) {
        threadException::setLast(Exception(QVFLASH_ST_INTERNAL_ERROR));
    }
}

} // namespace

qvflash_StatusCode executeSafe(const std::function<void()>& body)
{
    try {
        try {
            std::lock_guard<std::mutex> lock(libMutex);
            body();
            threadException::clearLast();
        } catch (...) {
            recordCurrentException();
        }
        return threadException::getLast().code();
    } catch (...) {
        return QVFLASH_ST_INTERNAL_ERROR;
    }
}

qvflash_StatusCode executeSafeNoStatusChange(const std::function<void()>& body)
{
    try {
        body();
        return QVFLASH_ST_OK;
    } catch (const Exception& failure) {
        return failure.code();
    } catch (...) {
        return QVFLASH_ST_INTERNAL_ERROR;
    }
}

} // namespace qvfl::core
