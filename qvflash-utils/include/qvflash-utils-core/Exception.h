#pragma once

#include <qvflash-utils-core/Condition.h>

#include <exception>
#include <string_view>
#include <vector>

namespace qvfl_utils {

// A failure with the status code the caller gets and the conditions that
// explain it, in the order the raising code listed them.
class Exception : public std::exception {
public:
    explicit Exception(qvfl_utils_StatusCode code, std::vector<Condition> conditions = {});
    Exception(const Exception&) = default;
    Exception(Exception&&) noexcept = default;
    Exception& operator=(const Exception&) = default;
    Exception& operator=(Exception&&) noexcept = default;
    ~Exception() override = default;

    // The status code's description, or an empty text when the code has none.
    const char* what() const noexcept override;

    qvfl_utils_StatusCode code() const { return code_; }
    const std::vector<Condition>& conditions() const { return conditions_; }

private:
    qvfl_utils_StatusCode code_;
    std::vector<Condition> conditions_;
    // Points into the description table: building an exception never
    // allocates, so the guard can always record a bare status.
    std::string_view message_;
};

} // namespace qvfl_utils
