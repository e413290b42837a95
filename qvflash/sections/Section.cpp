#include <qvflash-core/Section.h>

namespace qvfl {

bool operator==(const Section& left, const Section& right)
{
    return left.size == right.size && left.accessState == right.accessState && left.conditions == right.conditions &&
           left.type == right.type;
}

} // namespace qvfl
