#include "flash/PrConds.h"

bool operator==(const qvflash_PrConds& lhs, const qvflash_PrConds& rhs)
{
    return lhs.rule == rhs.rule && lhs.secretId == rhs.secretId && lhs.secretType == rhs.secretType;
}

bool operator!=(const qvflash_PrConds& lhs, const qvflash_PrConds& rhs)
{
    return !(lhs == rhs);
}
