#pragma once

#include <qvflash-core/errors/Exception.h>

#include <string>

namespace qvfl {

// One line for a failure that is reported inside another: the status
// description, then each condition's text detail after a colon and a status
// word in hexadecimal ("..., status word 6F00"). Other integer details are
// left out.
std::string failureText(const Exception& failure);

} // namespace qvfl
