#include <qvflash-core/core/threadException.h>

#include <qvflash-core/utils/getThreadLocalObject.h>

#include <utility>

namespace qvfl::core::threadException {

Exception& getLast()
{
    return utils::getThreadLocalObject<Exception, qvflash_StatusCode>(QVFLASH_ST_OK);
}

void setLast(Exception exception)
{
    getLast() = std::move(exception);
}

void clearLast()
{
    getLast() = Exception(QVFLASH_ST_OK);
}

} // namespace qvfl::core::threadException
