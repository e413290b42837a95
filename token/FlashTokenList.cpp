#include "token/FlashTokenList.h"

#include "flash/Token.h"

bool FlashTokenList::lists(std::uint64_t serial)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!serials_) {
        serials_ = quorvik::qvflash::Token::listSerials();
    }
    return serials_->count(serial) != 0;
}
