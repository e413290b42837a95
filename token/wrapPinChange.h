#pragma once

#include <functional>

// Runs the change of a PIN. A refusal that the token gives before it makes the change becomes
// PinChangeRefusedError with the same text, so that nobody is told the token may now hold the
// new PIN: from the module a PIN out of the length range, invalid or incorrect, a locked PIN, a
// change the PIN change policy prohibits, or no login; from the card a wrong length or wrong
// data, the security status not satisfied, a blocked PIN or a wrong PIN (63Cx). Every other
// error passes unchanged: after it the token may hold the new PIN.
void wrapPinChange(const std::function<void()>& change);
