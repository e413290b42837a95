// Exports that list the tokens and open and close their handles.
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>
#include <qvflash-core/pcsc/ScardEnumeratorImpl.h>
#include <qvflash-core/token/TokenEnumerator.h>

#include <algorithm>

using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;

namespace {

// Every call looks at the readers again: nothing is cached between calls.
qvfl::TokenEnumerator freshTokenEnumerator()
{
    return qvfl::TokenEnumerator(std::make_shared<qvfl::ScardEnumeratorImpl>());
}

} // namespace

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_create_token_list(uint64_t** serials, size_t* count)
{
    return executeSafe([&] {
        requirePointers(serials, count);
        const std::vector<std::uint64_t> found = freshTokenEnumerator().getTokenList();
        *count = found.size();
        std::unique_ptr<std::uint64_t[]> list = qvfl::exports::newApiList<std::uint64_t>(found.size());
        std::copy(found.begin(), found.end(), list.get());
        *serials = list.release();
    });
}

QVFLASH_API void qvflash_destroy_token_list(uint64_t** serials)
{
    qvfl::exports::destroyApiList(serials);
}

QVFLASH_API qvflash_StatusCode qvflash_create_token(uint64_t serial, qvflash_TokenImpl_** token)
{
    return executeSafe([&] {
        requirePointers(token);
        auto cell = std::make_unique<qvflash_TokenImpl_>();
        cell->token = freshTokenEnumerator().createToken(serial);
        *token = cell.release();
    });
}

QVFLASH_API void qvflash_destroy_token(qvflash_TokenImpl_** token)
{
    if (token == nullptr) {
        return;
    }
    // The token's destructor sends nothing to the card.
    std::unique_ptr<qvflash_TokenImpl_> cell(*token);
    *token = nullptr;
}

QVFLASH_API qvflash_StatusCode qvflash_is_token_supported(qvflash_TokenImpl_* token, bool* supported)
{
    return executeSafe([&] {
        requirePointers(token, supported);
        *supported = token->token->isSupported();
    });
}

} // extern "C"
