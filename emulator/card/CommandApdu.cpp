#include "CommandApdu.h"

namespace qvcard {

CommandApdu::CommandApdu(const Bytes& raw) : raw_(raw)
{
    if (raw_.size() < 4) {
        throw MalformedApdu();
    }
    if (raw_.size() == 4) {
        return;
    }
    const std::size_t p3 = raw_[4];
    if (raw_.size() == 5) {
        // A lone P3 is read as Le. Commands with a proprietary meaning of "Lc = 0" (the
        // attempts query of VERIFY) look at hasLc() and le() themselves.
        le_ = raw_[4];
        return;
    }
    if (p3 == 0 || raw_.size() < 5 + p3 || raw_.size() > 6 + p3) {
        throw MalformedApdu();
    }
    hasLc_ = true;
    data_.assign(raw_.begin() + 5, raw_.begin() + 5 + static_cast<std::ptrdiff_t>(p3));
    if (raw_.size() == 6 + p3) {
        le_ = raw_.back();
    }
}

} // namespace qvcard
