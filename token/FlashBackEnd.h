#pragma once

#include "flash/Token.h"
#include "token/FlashTokenList.h"

#include <cstdint>
#include <memory>
#include <mutex>

// Whether one token has a flash back end, answered when an operation first asks and then kept:
// the flash handle is opened by the asking operation, in its own task, for a token its
// enumeration's flash token list holds, or, when that list cannot be read, for a token the
// library finds among the cards that tell their serial. A failed answer is not kept and chooses
// no road: it fails the asking operation, and the next operation asks again.
class FlashBackEnd {
public:
    FlashBackEnd(std::uint64_t serial, std::shared_ptr<FlashTokenList> list);

    // The flash token; null when the token has no flash back end.
    quorvik::qvflash::Token* get();

private:
    std::uint64_t serial_;
    std::shared_ptr<FlashTokenList> list_;
    std::mutex mutex_;
    bool known_ = false;
    std::shared_ptr<quorvik::qvflash::Token> token_;
};
