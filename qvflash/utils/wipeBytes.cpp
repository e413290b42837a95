#include <qvflash-core/utils/wipeBytes.h>

namespace qvfl {

void wipeBytes(void* bytes, std::size_t size) noexcept
{
    volatile unsigned char* byte = static_cast<volatile unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; ++i) {
        byte[i] = 0;
    }
}

} // namespace qvfl
