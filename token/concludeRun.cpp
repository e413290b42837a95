#include "token/concludeRun.h"

#include "cli/DomainError.h"
#include "token/printOperationStatus.h"

void concludeRun(bool success, const std::exception_ptr& thrown, bool printStatus)
{
    if (printStatus) {
        printOperationStatus(success);
    }
    if (thrown) {
        std::rethrow_exception(thrown);
    }
    if (!success) {
        throw OperationFailedError();
    }
}
