#pragma once

#include <qvflash-core/TokenHandle.h>
#include <qvflash-core/errors/Exception.h>

#include <cstddef>
#include <memory>

namespace qvfl::exports {

// Status 3 when any of the required pointers is NULL.
template <typename... Pointers>
void requirePointers(const Pointers*... pointers)
{
    const bool anyNull = (... || (pointers == nullptr));
    if (anyNull) {
        throw Exception(QVFLASH_ST_NULL_PTR_ARG);
    }
}

// The token behind a handle; only the handle pointer is tested, its cell is
// trusted.
inline Token& tokenOf(qvflash_TokenImpl_* handle)
{
    requirePointers(handle);
    return *handle->token;
}

// A list for the caller: zeroed, one array allocation, non-NULL also when
// empty, released again unless published.
template <typename T>
std::unique_ptr<T[]> newApiList(std::size_t count)
{
    return std::make_unique<T[]>(count);
}

// Releases a list the library handed out and clears the caller's pointer.
template <typename T>
void destroyApiList(T** list)
{
    if (list == nullptr || *list == nullptr) {
        return;
    }
    delete[] * list;
    *list = nullptr;
}

} // namespace qvfl::exports
