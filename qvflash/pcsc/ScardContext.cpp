#include <qvflash-core/pcsc/ScardContext.h>

#include <qvflash-core/errors/PcscException.h>

#include <utility>

namespace qvfl {

ScardContext::ScardContext(const char* raisingFunction)
{
    const LONG rc = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
    if (rc != SCARD_S_SUCCESS) {
        throw PcscException(rc, __FILE__, raisingFunction, __LINE__);
    }
}

ScardContext::~ScardContext()
{
    SCardReleaseContext(context);
}

void ScardContext::swap(ScardContext& other) noexcept
{
    std::swap(context, other.context);
}

} // namespace qvfl
