#pragma once

#include <qvflash-core/errors/Exception.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace qvfl {

// One card answer: the status word (SW1 in the high byte) and the data
// without it. Senders compare it with 0x9000 and throw exception() otherwise,
// unless they handle that status word themselves.
class RespHandler {
public:
    using Response = std::pair<std::uint16_t, std::vector<std::uint8_t>>;

    explicit RespHandler(Response response);

    Response result() const { return response_; }
    const std::vector<std::uint8_t>& data() const { return response_.second; }

    // The exception that the status word stands for; never throws itself.
    Exception exception() const;

    bool operator==(std::uint16_t statusWord) const { return response_.first == statusWord; }
    bool operator!=(std::uint16_t statusWord) const { return response_.first != statusWord; }

private:
    Response response_;
};

} // namespace qvfl
