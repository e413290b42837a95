#pragma once

#include "CallTrace.h"
#include "FaultInjector.h"
#include "SessionTable.h"

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenState.h>
#include <qvtoken-core/TokenStore.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qvstandin {

struct SlotEntry {
    CK_SLOT_ID id = 0;
    std::uint64_t serial = 0;
};

class Module;

// What an entry body may touch: its slot's token (always re-read from its file, so changes of
// the card process or of other runs are seen), the sessions, and its own session if any.
class CallContext {
public:
    CallContext(Module& module, const SlotEntry& slot, CK_SESSION_HANDLE handle, Session* session,
                std::optional<qvtoken::TokenState> current);

    CK_SLOT_ID slot() const { return slot_.id; }
    CK_SESSION_HANDLE handle() const { return handle_; }
    Session& session() { return *session_; }
    SessionTable& sessions();

    // The token as it is now; a token whose file is gone, or that is listed without being
    // present, answers CKR_TOKEN_NOT_PRESENT through the entry's guard.
    qvtoken::TokenState token();
    // The same, also for a token listed without being present.
    qvtoken::TokenState listedToken();
    // One read-modify-write of the token under its file lock; `change` returns the entry's value
    // (a refused operation may still have counted down a PIN, so the result is always written).
    CK_RV change(const std::function<CK_RV(qvtoken::TokenState&)>& change);

private:
    Module& module_;
    SlotEntry slot_;
    CK_SESSION_HANDLE handle_;
    Session* session_;
    // The state read for this call's fault check, handed to the body's first read.
    std::optional<qvtoken::TokenState> current_;
};

// The process-wide state of the module behind its one mutex: every entry runs through one of
// the guards below, which lock, resolve the slot or session, fire injected faults, map
// exceptions to return values and write the trace line.
class Module {
public:
    static Module& instance();

    CK_RV initialize(CK_VOID_PTR args);
    CK_RV finalize(CK_VOID_PTR reserved);

    using Arguments = std::initializer_list<std::pair<const char*, unsigned long>>;

    // `narrowerFaultEntry` names a kind of call of the entry with fault rules of its own, counted
    // only among calls of that kind.
    CK_RV onModule(const char* entry, Arguments arguments, const std::function<CK_RV()>& body,
                   const char* narrowerFaultEntry = nullptr);
    CK_RV onSlot(const char* entry, CK_SLOT_ID slot, Arguments arguments,
                 const std::function<CK_RV(CallContext&)>& body);
    CK_RV onSession(const char* entry, CK_SESSION_HANDLE handle, Arguments arguments,
                    const std::function<CK_RV(CallContext&)>& body);
    // An entry that changes the token: a read-only session gets CKR_SESSION_READ_ONLY.
    CK_RV onWriteSession(const char* entry, CK_SESSION_HANDLE handle, Arguments arguments,
                         const std::function<CK_RV(CallContext&)>& body);

    // Valid inside onModule bodies: the slots as listed, in listing order, with repeats.
    const std::vector<SlotEntry>& listedSlots() const { return listed_; }

private:
    friend class CallContext;

    Module() = default;

    CK_RV guarded(const char* entry, Arguments arguments, bool needsInit, const std::function<CK_RV()>& body);
    std::optional<CK_RV> injectedFault(const std::string& entry, std::optional<std::uint64_t> serial);
    // Reads the token for a call on its slot, so rules added by others since are seen.
    std::optional<qvtoken::TokenState> refresh(std::uint64_t serial);
    const SlotEntry* findSlot(CK_SLOT_ID slot) const;
    qvtoken::TokenState load(std::uint64_t serial);

    std::mutex mutex_;
    bool initialized_ = false;
    std::optional<qvtoken::TokenStore> store_;
    std::vector<SlotEntry> listed_;
    std::vector<SlotEntry> slots_;
    // The latest state seen of each token; its fault rules apply to the next calls.
    std::map<std::uint64_t, qvtoken::TokenState> seen_;
    // The stamp of each token's file taken before its state in seen_ was read: while the file
    // keeps that stamp, seen_ is the file and a call reads nothing.
    std::map<std::uint64_t, qvtoken::FileStamp> stamps_;
    SessionTable sessions_;
    FaultInjector faults_;
    CallTrace trace_;
};

} // namespace qvstandin
