#include "Entries.h"
#include "Module.h"
#include "ObjectRules.h"

#include <algorithm>

namespace qvstandin::entries {

namespace {

Module& module()
{
    return Module::instance();
}

// Object handles are positions in the token's object list plus one: stable while the list is,
// and never 0.
template <typename Token>
auto objectOf(Token& token, CK_OBJECT_HANDLE object) -> decltype(&token.objects.front())
{
    if (object == 0 || object > token.objects.size())
        return nullptr;
    return &token.objects[object - 1];
}

} // namespace

CK_RV findObjectsInit(CK_SESSION_HANDLE handle, CK_ATTRIBUTE_PTR templ, CK_ULONG count)
{
    return module().onSession("C_FindObjectsInit", handle, {{"session", handle}, {"count", count}},
                              [&](CallContext& call) -> CK_RV {
                                  Session& session = call.session();
                                  if (session.searching)
                                      return CKR_OPERATION_ACTIVE;
                                  if (templ == nullptr && count != 0)
                                      return CKR_ARGUMENTS_BAD;
                                  const auto token = call.token();
                                  session.found.clear();
                                  for (std::size_t i = 0; i < token.objects.size(); ++i)
                                      if (matchesTemplate(token.objects[i], templ, count))
                                          session.found.push_back(i + 1);
                                  session.next = 0;
                                  session.searching = true;
                                  return CKR_OK;
                              });
}

CK_RV findObjects(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE_PTR objects, CK_ULONG capacity, CK_ULONG_PTR found)
{
    return module().onSession(
        "C_FindObjects", handle, {{"session", handle}, {"capacity", capacity}}, [&](CallContext& call) -> CK_RV {
            Session& session = call.session();
            if (!session.searching)
                return CKR_OPERATION_NOT_INITIALIZED;
            if (found == nullptr || (objects == nullptr && capacity != 0))
                return CKR_ARGUMENTS_BAD;
            const std::size_t n = std::min<std::size_t>(capacity, session.found.size() - session.next);
            std::copy_n(session.found.begin() + static_cast<long>(session.next), n, objects);
            session.next += n;
            *found = n;
            return CKR_OK;
        });
}

CK_RV findObjectsFinal(CK_SESSION_HANDLE handle)
{
    return module().onSession("C_FindObjectsFinal", handle, {{"session", handle}}, [&](CallContext& call) -> CK_RV {
        Session& session = call.session();
        if (!session.searching)
            return CKR_OPERATION_NOT_INITIALIZED;
        session.searching = false;
        session.found.clear();
        return CKR_OK;
    });
}

CK_RV getAttributeValue(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE object, CK_ATTRIBUTE_PTR templ, CK_ULONG count)
{
    return module().onSession("C_GetAttributeValue", handle,
                              {{"session", handle}, {"object", object}, {"count", count}},
                              [&](CallContext& call) -> CK_RV {
                                  const auto token = call.token();
                                  const auto* found = objectOf(token, object);
                                  if (found == nullptr)
                                      return CKR_OBJECT_HANDLE_INVALID;
                                  if (templ == nullptr && count != 0)
                                      return CKR_ARGUMENTS_BAD;
                                  return getAttributes(*found, templ, count);
                              });
}

CK_RV setAttributeValue(CK_SESSION_HANDLE handle, CK_OBJECT_HANDLE object, CK_ATTRIBUTE_PTR templ, CK_ULONG count)
{
    return module().onWriteSession("C_SetAttributeValue", handle,
                                   {{"session", handle}, {"object", object}, {"count", count}},
                                   [&](CallContext& call) -> CK_RV {
                                       if (call.sessions().login(call.slot()) != Login::admin)
                                           return CKR_USER_NOT_LOGGED_IN;
                                       return call.change([&](qvtoken::TokenState& token) -> CK_RV {
                                           auto* found = objectOf(token, object);
                                           if (found == nullptr)
                                               return CKR_OBJECT_HANDLE_INVALID;
                                           return setAttributes(token, *found, templ, count);
                                       });
                                   });
}

} // namespace qvstandin::entries
