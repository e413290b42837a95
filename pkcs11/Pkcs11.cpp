#include "pkcs11/Pkcs11.h"

#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/PkcsLoadingError.h"
#include "pkcs11/ScopeGuard.h"
#include "pkcs11/Slot.h"
#include "pkcs11/Wrapper.h"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace quorvik::pkcs11 {
namespace {

void* openImage(const char* libraryPath)
{
    void* handle = dlopen(libraryPath, RTLD_NOW);
    if (handle == nullptr)
        throw PkcsLoadingError();
    return handle;
}

// Finds a table getter by name and asks it for its table; a missing getter means the module is
// not the one the program was built against.
template <typename Table, typename Getter>
Table* fetchTable(void* image, const char* getterName)
{
    auto getter = reinterpret_cast<Getter>(dlsym(image, getterName));
    if (getter == nullptr)
        Pkcs11Exception::emit(CKR_FUNCTION_REJECTED, std::nullopt);
    Table* table = nullptr;
    if (const CK_RV rv = getter(&table); rv != CKR_OK)
        Pkcs11Exception::emit(rv, std::nullopt);
    return table;
}

struct ImageCloser {
    void operator()(void* image) const noexcept { dlclose(image); }
};
using ImageHandle = std::unique_ptr<void, ImageCloser>;

} // namespace

struct Pkcs11::Impl {
    Impl(ImageHandle image, CK_FUNCTION_LIST* functions, CK_FUNCTION_LIST_EXTENDED* extended)
        : library(std::move(image)), wrapper(functions, extended)
    {
    }

    void listSlots();

    ImageHandle library;
    detail::Wrapper wrapper;
    mutable std::mutex slotsMutex;
    std::unordered_map<CK_SLOT_ID, std::shared_ptr<Slot>> slots;
};

void Pkcs11::Impl::listSlots()
{
    std::vector<CK_SLOT_ID> ids;
    for (;;) {
        unsigned long count = 0;
        wrapper.getSlotList(CK_TRUE, nullptr, &count);
        ids.resize(count);
        try {
            wrapper.getSlotList(CK_TRUE, ids.data(), &count);
        } catch (const BufferTooSmallException&) {
            // A token arrived between the two calls: count again.
            continue;
        }
        // After an empty count the list goes out as a null array, which the module answers as
        // a count query: a larger count is a token that arrived, not ids that were written.
        if (count > ids.size())
            continue;
        ids.resize(count);
        break;
    }
    for (const CK_SLOT_ID id : ids) {
        if (slots.count(id) == 0)
            slots.emplace(id, std::make_shared<Slot>(wrapper, id));
    }
}

Pkcs11::Pkcs11(const char* libraryPath)
{
    ImageHandle image(openImage(libraryPath));
    auto* functions = fetchTable<CK_FUNCTION_LIST, CK_C_GetFunctionList>(image.get(), QV_GET_FUNCTION_LIST_NAME);
    auto* extended = fetchTable<CK_FUNCTION_LIST_EXTENDED, CK_C_EX_GetFunctionListExtended>(
        image.get(), QV_GET_FUNCTION_LIST_EXTENDED_NAME);
    impl_ = std::make_unique<Impl>(std::move(image), functions, extended);

    // The module's own locking lets the parallel strategy call it from one thread per token.
    CK_C_INITIALIZE_ARGS initArgs{};
    initArgs.flags = CKF_OS_LOCKING_OK;
    impl_->wrapper.initialize(&initArgs);

    // A constructor that throws is followed by no destructor, so the module is finalised here.
    const auto finalizeOnFailure = vt::scopeGuard(vt::ScopeFail{}, [this] { impl_->wrapper.finalize(nullptr); });
    impl_->listSlots();
}

Pkcs11::~Pkcs11()
{
    // A constructed object always initialised the module.
    try {
        impl_->wrapper.finalize(nullptr);
    } catch (...) {
    }
}

std::vector<std::shared_ptr<Slot>> Pkcs11::getSlotList(bool tokenPresent) const
{
    std::vector<std::pair<CK_SLOT_ID, std::shared_ptr<Slot>>> listed;
    {
        const std::lock_guard<std::mutex> lock(impl_->slotsMutex);
        listed.assign(impl_->slots.begin(), impl_->slots.end());
    }
    // Ascending slot ids, so that every run lists the same tokens in the same order.
    std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<std::shared_ptr<Slot>> result;
    for (auto& [id, slot] : listed) {
        if (!tokenPresent || slot->token() != nullptr)
            result.push_back(std::move(slot));
    }
    return result;
}

} // namespace quorvik::pkcs11
