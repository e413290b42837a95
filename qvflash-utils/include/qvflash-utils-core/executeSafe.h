#pragma once

#include <qvflash-utils.h>

#include <functional>
#include <mutex>

namespace qvfl_utils {

namespace detail {
// Serialises every exported call of the library.
extern std::mutex sLibCallMutex;
} // namespace detail

// Runs the operation under the library lock and records how it ended as the
// calling thread's last status; returns that status. Never throws.
qvfl_utils_StatusCode executeSafe(const std::function<void()>& operation);

// Runs the operation under the library lock: 0 when it returns, 1 when it
// throws. The last status is left alone.
qvfl_utils_StatusCode executeSafeNoStatusChange(const std::function<void()>& operation);

} // namespace qvfl_utils
