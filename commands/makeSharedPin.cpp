#include "commands/makeSharedPin.h"

#include "pin/wipeString.h"

#include <utility>

std::shared_ptr<const std::string> makeSharedPin(std::string pin)
{
    return std::shared_ptr<const std::string>(new std::string(std::move(pin)), [](const std::string* held) {
        auto* owned = const_cast<std::string*>(held);
        wipeString(*owned);
        delete owned;
    });
}
