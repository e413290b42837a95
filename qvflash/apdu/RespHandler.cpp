#include <qvflash-core/apdu/RespHandler.h>

#include <qvflash-core/errors/ApduException.h>

namespace qvfl {

RespHandler::RespHandler(Response response) : response_(std::move(response)) {}

Exception RespHandler::exception() const
{
    return ApduException(response_.first);
}

} // namespace qvfl
