#pragma once

#include "flash/handleStatusCode.h"
#include "qvflash.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorvik::qvflash {

// The ids of one kind of a token's login objects as the library listed them; a snapshot, not
// refreshed. It keeps the token's handle without owning it, so it must not outlive its Token.
template <auto createList, auto destroyList, auto resetAttempts>
class ObjectIdList {
    struct Passkey {};

public:
    static std::shared_ptr<ObjectIdList> create(qvflash_TokenImpl_* token)
    {
        return std::make_shared<ObjectIdList>(Passkey{}, token);
    }

    // A failed read hands nothing out, so a throwing constructor leaves nothing to release.
    ObjectIdList(Passkey, qvflash_TokenImpl_* token) : token_(token)
    {
        handleStatusCode(createList(token_, &ids_, &count_));
    }
    ~ObjectIdList() { destroyList(&ids_); }
    // Owns the library's array; a copy would hand it back twice.
    ObjectIdList(const ObjectIdList&) = delete;
    ObjectIdList& operator=(const ObjectIdList&) = delete;

    bool contains(uint16_t id) const { return std::find(ids_, ids_ + count_, id) != ids_ + count_; }

    // Restores every object's login attempts in list order; the first failure ends the walk,
    // and the resets before it stay done: each is added to `restored` as it succeeds.
    void unblockAll(std::vector<uint16_t>& restored) const
    {
        for (size_t i = 0; i < count_; ++i) {
            handleStatusCode(resetAttempts(token_, ids_[i]));
            restored.push_back(ids_[i]);
        }
    }

private:
    qvflash_TokenImpl_* token_;
    uint16_t* ids_ = nullptr;
    size_t count_ = 0;
};

using MvaList = ObjectIdList<qvflash_create_mva_id_list, qvflash_destroy_mva_id_list, qvflash_reset_login_attempts_mva>;
using LocalPinList = ObjectIdList<qvflash_create_local_pin_id_list, qvflash_destroy_local_pin_id_list,
                                  qvflash_reset_login_attempts_local_pin>;

} // namespace quorvik::qvflash
