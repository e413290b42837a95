#pragma once

#include <qvflash-core/token/Token.h>

#include <qvflash.h>

#include <memory>

// The cell behind an exported token handle: it owns the token, and with it the
// card connection and the remembered logins.
struct qvflash_TokenImpl_ {
    std::unique_ptr<qvfl::Token> token;
};
