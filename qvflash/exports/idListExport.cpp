#include <qvflash-core/exports/idListExport.h>

#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/exports/exportSupport.h>

namespace qvfl::exports {

void publishIdList(const std::vector<std::uint16_t>& ids, uint16_t** list, size_t* count)
{
    *count = ids.size();
    std::unique_ptr<std::uint16_t[]> array = newApiList<std::uint16_t>(ids.size());
    for (std::size_t index = 0; index < ids.size(); ++index) {
        array[index] = convert::toApiSecretId(ids[index]);
    }
    *list = array.release();
}

} // namespace qvfl::exports
