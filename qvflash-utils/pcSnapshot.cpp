#include <qvflash-utils-core/pcSnapshot.h>

#include <qvflash-utils-core/Exception.h>
#include <qvflash-utils-core/Snapshot.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace qvfl_utils {

qvfl_utils_PcSnapshot createPcSnapshot(const IHwParamsGetter& getter)
{
    const std::string text = Snapshot::compute(getter);
    // A caller copies length bytes: a wrapped length would store a cut text
    // in an MVA that matches every host sharing its first characters.
    if (text.size() > std::numeric_limits<std::uint8_t>::max()) {
        throw Exception(QVFL_UTILS_ST_INTERNAL_ERROR,
                        {Condition(QVFL_UTILS_COND_ADDITIONAL_MESSAGE,
                                   std::string("PC snapshot text is longer than 255 characters"))});
    }
    qvfl_utils_PcSnapshot snapshot{};
    snapshot.data = new char[text.size() + 1];
    std::memcpy(snapshot.data, text.c_str(), text.size() + 1);
    snapshot.length = static_cast<std::uint8_t>(text.size());
    return snapshot;
}

void destroyPcSnapshot(qvfl_utils_PcSnapshot& snapshot)
{
    delete[] snapshot.data;
    snapshot.data = nullptr;
    snapshot.length = 0;
}

} // namespace qvfl_utils
