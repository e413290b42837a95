#include "token/FlashBackEnd.h"

#include <utility>

FlashBackEnd::FlashBackEnd(std::uint64_t serial, std::shared_ptr<FlashTokenList> list)
    : serial_(serial), list_(std::move(list))
{
}

quorvik::qvflash::Token* FlashBackEnd::get()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!known_) {
        token_ = list_->lists(serial_) ? quorvik::qvflash::Token::open(serial_) : nullptr;
        known_ = true;
    }
    return token_.get();
}
