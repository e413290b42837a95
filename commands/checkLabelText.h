#pragma once

#include <string>

// Refuses a label that holds a control character as an invalid value of the option `name`
// (without dashes): printed or logged, it would break its line or reach a terminal as a
// command. The token checks its own limits, such as the length, when the label is written.
void checkLabelText(const std::string& label, const std::string& name);
