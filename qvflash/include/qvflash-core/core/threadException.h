#pragma once

#include <qvflash-core/errors/Exception.h>

// The calling thread's last status: the outcome of its last status-changing
// call, status 0 with no conditions before the first one.
namespace qvfl::core::threadException {

void setLast(Exception exception);
Exception& getLast();
void clearLast();

} // namespace qvfl::core::threadException
