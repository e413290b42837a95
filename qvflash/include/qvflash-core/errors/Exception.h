#pragma once

#include <qvflash-core/errors/Condition.h>

#include <exception>
#include <string_view>
#include <vector>

namespace qvfl {

// The library's only exception family: a status code for the caller plus the
// conditions that explain it, in the order the raising code listed them.
class Exception : public std::exception {
public:
    explicit Exception(qvflash_StatusCode code, std::vector<Condition> conditions = {});
    Exception(const Exception&) = default;
    Exception(Exception&&) noexcept = default;
    Exception& operator=(const Exception&) = default;
    Exception& operator=(Exception&&) noexcept = default;
    ~Exception() override = default;

    // The status code's description, or an empty text when the code has none.
    const char* what() const noexcept override;

    qvflash_StatusCode code() const { return code_; }
    const std::vector<Condition>& conditions() const { return conditions_; }

private:
    qvflash_StatusCode code_;
    std::vector<Condition> conditions_;
    std::string_view description_;
};

} // namespace qvfl
