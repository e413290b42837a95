#include "token/FlashTokenList.h"

#include "flash/QvflashException.h"
#include "flash/Token.h"

std::optional<bool> FlashTokenList::lists(std::uint64_t serial)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!serials_) {
        try {
            serials_ = quorvik::qvflash::Token::listSerials();
        } catch (const quorvik::qvflash::QvflashException&) {
            return std::nullopt;
        }
    }
    return serials_->count(serial) != 0;
}
