#include <qvflash-core/errors/Exception.h>

#include <qvflash-core/errors/Descriptions.h>

#include <utility>

namespace qvfl {

Exception::Exception(qvflash_StatusCode code, std::vector<Condition> conditions)
    : code_(code), conditions_(std::move(conditions)), description_(getStatusDescription(code))
{
}

const char* Exception::what() const noexcept
{
    return description_.data() != nullptr ? description_.data() : "";
}

} // namespace qvfl
