#pragma once

#include <memory>
#include <string>

// One copy of a PIN for every task of a run, wiped when the last task lets it go.
std::shared_ptr<const std::string> makeSharedPin(std::string pin);
