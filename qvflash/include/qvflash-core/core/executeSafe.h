#pragma once

#include <qvflash.h>

#include <functional>

namespace qvfl::core {

// Runs the body of a status-changing export: one at a time in the process,
// every exception turned into the result and kept as the thread's last status.
qvflash_StatusCode executeSafe(const std::function<void()>& body);

// Runs the body of an export that only reads: no lock, the last status untouched.
qvflash_StatusCode executeSafeNoStatusChange(const std::function<void()>& body);

} // namespace qvfl::core
