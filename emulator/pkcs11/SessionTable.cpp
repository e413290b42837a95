#include "SessionTable.h"

#include <algorithm>

namespace qvstandin {

CK_SESSION_HANDLE SessionTable::open(CK_SLOT_ID slot, CK_FLAGS flags)
{
    const CK_SESSION_HANDLE handle = nextHandle_++;
    sessions_[handle] = Session{slot, flags, false, {}, 0};
    return handle;
}

Session* SessionTable::find(CK_SESSION_HANDLE handle)
{
    auto it = sessions_.find(handle);
    return it == sessions_.end() ? nullptr : &it->second;
}

void SessionTable::close(CK_SESSION_HANDLE handle)
{
    auto it = sessions_.find(handle);
    if (it == sessions_.end())
        return;
    const CK_SLOT_ID slot = it->second.slot;
    sessions_.erase(it);
    if (countOn(slot) == 0)
        logins_.erase(slot);
}

void SessionTable::clear()
{
    sessions_.clear();
    logins_.clear();
}

std::size_t SessionTable::countOn(CK_SLOT_ID slot, CK_FLAGS requiredFlags) const
{
    return static_cast<std::size_t>(std::count_if(sessions_.begin(), sessions_.end(), [&](const auto& entry) {
        return entry.second.slot == slot && (entry.second.flags & requiredFlags) == requiredFlags;
    }));
}

Login SessionTable::login(CK_SLOT_ID slot) const
{
    auto it = logins_.find(slot);
    return it == logins_.end() ? Login::none : it->second;
}

void SessionTable::setLogin(CK_SLOT_ID slot, Login login)
{
    if (login == Login::none)
        logins_.erase(slot);
    else
        logins_[slot] = login;
}

} // namespace qvstandin
