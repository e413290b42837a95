#pragma once

#include <qvflash-core/login/LoginImpl.h>

#include <string>

namespace qvfl {

// The bytes of an admin or user PIN text, without terminator, in locked
// memory. Status 100021 for an empty PIN or one longer than 249 bytes.
LoginImpl::Secret pinSecret(const std::string& pin);

} // namespace qvfl
