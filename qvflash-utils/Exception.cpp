#include <qvflash-utils-core/Exception.h>

#include <qvflash-utils-core/Descriptions.h>

#include <utility>

namespace qvfl_utils {

Exception::Exception(qvfl_utils_StatusCode code, std::vector<Condition> conditions)
    : code_(code), conditions_(std::move(conditions)), message_(getStatusDescription(code))
{
}

const char* Exception::what() const noexcept
{
    return message_.data() != nullptr ? message_.data() : "";
}

} // namespace qvfl_utils
