#include <qvflash-utils-core/Descriptions.h>

#include <unordered_map>

namespace qvfl_utils {
namespace detail {

const std::unordered_map<qvfl_utils_StatusCode, std::string_view> kStatusDescriptions = {
    {QVFL_UTILS_ST_OK, "Function executed successfully"},
    {QVFL_UTILS_ST_INTERNAL_ERROR, "An internal error occurred"},
    {QVFL_UTILS_ST_NULL_PTR_ARG, "A null pointer was found in the list of passed arguments"},
    {QVFL_UTILS_ST_SYSTEM_ERROR, "A system call execution error occurred"},
    {QVFL_UTILS_ST_NO_CPU_INFO, "Failed to retrieve processor information"},
    {QVFL_UTILS_ST_NO_HD_INFO, "Failed to retrieve internal hard drive information"},
};

const std::unordered_map<qvfl_utils_ConditionCode, std::string_view> kConditionDesctions = {
    {QVFL_UTILS_COND_ADDITIONAL_MESSAGE, "Additional message"},
    {QVFL_UTILS_COND_ERROR_CODE, "Error code"},
};

} // namespace detail

namespace {

template <typename Code>
std::string_view lookUp(const std::unordered_map<Code, std::string_view>& table, Code code)
{
    const auto row = table.find(code);
    return row != table.end() ? row->second : std::string_view{};
}

} // namespace

std::string_view getStatusDescription(qvfl_utils_StatusCode code)
{
    return lookUp(detail::kStatusDescriptions, code);
}

std::string_view getConditionDescription(qvfl_utils_ConditionCode code)
{
    return lookUp(detail::kConditionDesctions, code);
}

} // namespace qvfl_utils
