#pragma once

#include <qvflash-utils-core/Exception.h>

// The calling thread's last status: what its most recent guarded call ended with.
namespace qvfl_utils::threadException {

Exception& getLast();
void clearLast();

} // namespace qvfl_utils::threadException
