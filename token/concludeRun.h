#pragma once

#include <exception>

// How a strategy ends once every token's task has ended: the status line when asked, then the
// first exception a task let out, else OperationFailedError when a token failed.
void concludeRun(bool success, const std::exception_ptr& thrown, bool printStatus);
