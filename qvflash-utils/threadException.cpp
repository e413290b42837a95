#include <qvflash-utils-core/threadException.h>

#include <qvflash-utils-core/utils/getThreadLocalObject.h>

namespace qvfl_utils::threadException {

Exception& getLast()
{
    return utils::getThreadLocalObject<Exception, qvfl_utils_StatusCode>(QVFL_UTILS_ST_OK);
}

void clearLast()
{
    getLast() = Exception(QVFL_UTILS_ST_OK);
}

} // namespace qvfl_utils::threadException
