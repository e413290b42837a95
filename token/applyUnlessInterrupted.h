#pragma once

#include <functional>

class Token;

// Runs the applier on the token, unless a signal interrupted the run before the token was begun:
// then the token is named as not done on its own console line and counts as failed.
bool applyUnlessInterrupted(const std::function<bool(Token&)>& applier, Token& token);
