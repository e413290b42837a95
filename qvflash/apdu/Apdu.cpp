#include <qvflash-core/apdu/Apdu.h>

#include <qvflash-core/utils/wipeBytes.h>

#include <utility>

namespace qvfl {

Apdu::Apdu(std::uint8_t cla, std::uint8_t ins, std::uint8_t p1, std::uint8_t p2,
           std::optional<std::vector<std::uint8_t>> data, const std::optional<std::uint8_t>& le)
    : cla_(cla), ins_(ins), p1_(p1), p2_(p2), data_(std::move(data)), le_(le)
{
}

Apdu::~Apdu()
{
    if (data_) {
        wipeBytes(data_->data(), data_->size());
    }
}

std::vector<std::uint8_t> Apdu::toBuffer() const
{
    std::vector<std::uint8_t> buffer{cla_, ins_, p1_, p2_};
    if (data_) {
        buffer.push_back(static_cast<std::uint8_t>(data_->size()));
        buffer.insert(buffer.end(), data_->begin(), data_->end());
    }
    if (le_) {
        buffer.push_back(*le_);
    }
    return buffer;
}

unsigned Apdu::getApduCase() const
{
    return (le_ ? 1U : 0U) + (data_ ? 2U : 0U);
}

std::size_t Apdu::getReceiveBufferSize() const
{
    constexpr std::size_t kStatusWordSize = 2;
    if (!le_) {
        return kStatusWordSize;
    }
    return (*le_ == 0 ? 256U : *le_) + kStatusWordSize;
}

} // namespace qvfl
