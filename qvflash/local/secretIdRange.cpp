#include <qvflash-core/local/secretIdRange.h>

#include <string>

namespace qvfl {

const char* const kLocalSecretIdRangeText = "local PIN and MVA: [3, 31]";

Exception secretIdOutOfRange(const char* rangeText, std::int64_t id)
{
    return Exception(QVFLASH_ST_INVALID_SECRET_ID, {Condition(QVFLASH_COND_SECRET_ID_RANGE, std::string(rangeText)),
                                                    Condition(QVFLASH_COND_SECRET_ID, id)});
}

Exception invalidSecretId(std::int64_t id)
{
    return Exception(QVFLASH_ST_INVALID_SECRET_ID, {Condition(QVFLASH_COND_SECRET_ID, id)});
}

} // namespace qvfl
