#include "token/FlashBackEnd.h"

#include <optional>
#include <utility>

FlashBackEnd::FlashBackEnd(std::uint64_t serial, std::shared_ptr<FlashTokenList> list)
    : serial_(serial), list_(std::move(list))
{
}

quorvik::qvflash::Token* FlashBackEnd::get()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!known_) {
        const std::optional<bool> listed = list_->lists(serial_);
        if (!listed) {
            token_ = quorvik::qvflash::Token::find(serial_);
        } else {
            token_ = *listed ? quorvik::qvflash::Token::open(serial_) : nullptr;
        }
        known_ = true;
    }
    return token_.get();
}
