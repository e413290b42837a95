#pragma once

#include <functional>
#include <string>

// Runs a flash change that the token follows with a restart. When the flash library reports
// that the card made the change before the failure (the restart, or the token's return after
// it, failed), the error keeps the library's text, with the last refusal a card gave while the
// token was awaited, and adds that `change` is on the token: a made change must not read as a
// refused one. Every other error passes unchanged.
void wrapRestartingChange(const std::function<void()>& run, const std::string& change);
