#pragma once

#include <string>

// A help text in English and Russian; only the English text is ever shown.
struct CliElementDescription {
    std::string english;
    std::string russian;
};
