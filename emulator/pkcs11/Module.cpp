#include "Module.h"

#include <qvtoken-core/Errors.h>

#include <algorithm>
#include <cstdio>
#include <new>

namespace qvstandin {

namespace {

// The token of a slot is gone or not present: the entry answers CKR_TOKEN_NOT_PRESENT.
class TokenAbsent {};

// A token file the module cannot serve: one line on the standard error stream, and the other
// tokens are served without it.
void leaveOut(const qvtoken::StateError& error)
{
    std::fprintf(stderr, "qvpkcs11zrn: token left out: %s\n", error.what());
}

std::string argumentText(Module::Arguments arguments)
{
    std::string text;
    for (const auto& [name, value] : arguments) {
        if (!text.empty())
            text += ' ';
        text += name;
        text += '=';
        text += std::to_string(value);
    }
    return text;
}

} // namespace

CallContext::CallContext(Module& module, const SlotEntry& slot, CK_SESSION_HANDLE handle, Session* session,
                         std::optional<qvtoken::TokenState> current)
    : module_(module), slot_(slot), handle_(handle), session_(session), current_(std::move(current))
{
}

SessionTable& CallContext::sessions()
{
    return module_.sessions_;
}

qvtoken::TokenState CallContext::listedToken()
{
    if (current_) {
        qvtoken::TokenState state = std::move(*current_);
        current_.reset();
        return state;
    }
    return module_.load(slot_.serial);
}

qvtoken::TokenState CallContext::token()
{
    qvtoken::TokenState state = listedToken();
    if (state.switches.listedNotPresent)
        throw TokenAbsent();
    return state;
}

CK_RV CallContext::change(const std::function<CK_RV(qvtoken::TokenState&)>& change)
{
    current_.reset();
    CK_RV rv = CKR_OK;
    bool absent = false;
    try {
        auto written = module_.store_->modify(slot_.serial, [&](qvtoken::TokenState& state) {
            absent = state.switches.listedNotPresent;
            if (!absent)
                rv = change(state);
        });
        module_.seen_[slot_.serial] = std::move(written);
        // Written under the lock, but another process may have written since: read it again.
        module_.stamps_.erase(slot_.serial);
    } catch (const qvtoken::TokenNotFoundError&) {
        throw TokenAbsent();
    }
    if (absent)
        throw TokenAbsent();
    return rv;
}

Module& Module::instance()
{
    static Module module;
    return module;
}

qvtoken::TokenState Module::load(std::uint64_t serial)
{
    auto state = refresh(serial);
    if (!state)
        throw TokenAbsent();
    return std::move(*state);
}

std::optional<qvtoken::TokenState> Module::refresh(std::uint64_t serial)
{
    // The stamp is taken before the read: a file changed in between is read again next time.
    const auto stamp = store_->stamp(serial);
    const auto known = stamps_.find(serial);
    const auto cached = seen_.find(serial);
    if (stamp && known != stamps_.end() && known->second == *stamp && cached != seen_.end())
        return cached->second;
    stamps_.erase(serial);
    auto state = store_->load(serial);
    if (state && stamp) {
        seen_[serial] = *state;
        stamps_.emplace(serial, *stamp);
    }
    return state;
}

const SlotEntry* Module::findSlot(CK_SLOT_ID slot) const
{
    auto it = std::find_if(slots_.begin(), slots_.end(), [slot](const SlotEntry& s) { return s.id == slot; });
    return it == slots_.end() ? nullptr : &*it;
}

std::optional<CK_RV> Module::injectedFault(const std::string& entry, std::optional<std::uint64_t> serial)
{
    for (auto& [tokenSerial, state] : seen_) {
        if (serial && *serial != tokenSerial)
            continue;
        if (auto rv = faults_.fire(*store_, state, entry))
            return rv;
    }
    return std::nullopt;
}

CK_RV Module::guarded(const char* entry, Arguments arguments, bool needsInit, const std::function<CK_RV()>& body)
{
    std::lock_guard<std::mutex> lock(mutex_);
    CK_RV rv = CKR_GENERAL_ERROR;
    if (needsInit && !initialized_) {
        rv = CKR_CRYPTOKI_NOT_INITIALIZED;
    } else {
        try {
            rv = body();
        } catch (const TokenAbsent&) {
            rv = CKR_TOKEN_NOT_PRESENT;
        } catch (const qvtoken::TokenNotFoundError&) {
            rv = CKR_TOKEN_NOT_PRESENT;
        } catch (const std::bad_alloc&) {
            rv = CKR_HOST_MEMORY;
        } catch (...) {
            rv = CKR_GENERAL_ERROR;
        }
    }
    trace_.record(entry, argumentText(arguments), rv);
    return rv;
}

CK_RV Module::initialize(CK_VOID_PTR args)
{
    std::lock_guard<std::mutex> lock(mutex_);
    trace_.reopen();
    CK_RV rv = CKR_OK;
    const auto* init = static_cast<const CK_C_INITIALIZE_ARGS*>(args);
    if (initialized_) {
        rv = CKR_CRYPTOKI_ALREADY_INITIALIZED;
    } else if (init != nullptr && init->pReserved != nullptr) {
        rv = CKR_ARGUMENTS_BAD;
    } else {
        try {
            // Build the new slot set in locals; a failure leaves the module uninitialised.
            qvtoken::TokenStore store;
            std::vector<qvtoken::TokenState> tokens;
            std::map<std::uint64_t, qvtoken::FileStamp> stamps;
            try {
                for (const auto serial : store.serials())
                    if (const auto stamp = store.stamp(serial))
                        stamps.emplace(serial, *stamp);
                tokens = store.loadAll(leaveOut);
            } catch (const qvtoken::UnsafeDirectoryError& refused) {
                // No token at all then, but the module starts, so the program's help still runs.
                std::fprintf(stderr, "qvpkcs11zrn: no tokens served: %s\n", refused.what());
            }
            std::vector<SlotEntry> slots;
            std::vector<SlotEntry> listed;
            std::map<std::uint64_t, qvtoken::TokenState> seen;
            for (auto& token : tokens) {
                const SlotEntry entry{token.slotId, token.serial};
                const auto taken =
                    std::find_if(slots.begin(), slots.end(), [&](const SlotEntry& s) { return s.id == entry.id; });
                if (taken != slots.end()) {
                    leaveOut(qvtoken::StateFormatError(store.stateFile(token.serial).string() + ": slotId: slot " +
                                                       std::to_string(entry.id) + " already holds token " +
                                                       std::to_string(taken->serial)));
                    continue;
                }
                slots.push_back(entry);
                listed.push_back(entry);
                if (token.switches.duplicateSlotId)
                    listed.push_back(entry);
                seen.emplace(token.serial, std::move(token));
            }
            store_.emplace(std::move(store));
            slots_ = std::move(slots);
            listed_ = std::move(listed);
            seen_ = std::move(seen);
            stamps_ = std::move(stamps);
            faults_.reset();
            sessions_.clear();
            if (auto fault = injectedFault("C_Initialize", std::nullopt))
                rv = *fault;
            else
                initialized_ = true;
        } catch (...) {
            rv = CKR_GENERAL_ERROR;
        }
    }
    trace_.record("C_Initialize", "", rv);
    return rv;
}

CK_RV Module::finalize(CK_VOID_PTR reserved)
{
    std::lock_guard<std::mutex> lock(mutex_);
    CK_RV rv = CKR_OK;
    if (!initialized_)
        rv = CKR_CRYPTOKI_NOT_INITIALIZED;
    else if (reserved != nullptr)
        rv = CKR_ARGUMENTS_BAD;
    else {
        // Every change was written when it was made; ending the run only ends its sessions
        // and with them every login.
        sessions_.clear();
        slots_.clear();
        listed_.clear();
        seen_.clear();
        stamps_.clear();
        initialized_ = false;
    }
    trace_.record("C_Finalize", "", rv);
    if (rv == CKR_OK)
        trace_.close();
    return rv;
}

CK_RV Module::onModule(const char* entry, Arguments arguments, const std::function<CK_RV()>& body,
                       const char* narrowerFaultEntry)
{
    return guarded(entry, arguments, true, [&]() -> CK_RV {
        if (auto fault = injectedFault(entry, std::nullopt))
            return *fault;
        if (narrowerFaultEntry != nullptr)
            if (auto fault = injectedFault(narrowerFaultEntry, std::nullopt))
                return *fault;
        return body();
    });
}

CK_RV Module::onSlot(const char* entry, CK_SLOT_ID slot, Arguments arguments,
                     const std::function<CK_RV(CallContext&)>& body)
{
    return guarded(entry, arguments, true, [&]() -> CK_RV {
        const SlotEntry* found = findSlot(slot);
        if (found == nullptr)
            return CKR_SLOT_ID_INVALID;
        auto current = refresh(found->serial);
        if (auto fault = injectedFault(entry, found->serial))
            return *fault;
        CallContext context(*this, *found, 0, nullptr, std::move(current));
        return body(context);
    });
}

CK_RV Module::onWriteSession(const char* entry, CK_SESSION_HANDLE handle, Arguments arguments,
                             const std::function<CK_RV(CallContext&)>& body)
{
    return onSession(entry, handle, arguments, [&](CallContext& call) -> CK_RV {
        if ((call.session().flags & CKF_RW_SESSION) == 0)
            return CKR_SESSION_READ_ONLY;
        return body(call);
    });
}

CK_RV Module::onSession(const char* entry, CK_SESSION_HANDLE handle, Arguments arguments,
                        const std::function<CK_RV(CallContext&)>& body)
{
    return guarded(entry, arguments, true, [&]() -> CK_RV {
        Session* session = sessions_.find(handle);
        if (session == nullptr)
            return CKR_SESSION_HANDLE_INVALID;
        const SlotEntry* found = findSlot(session->slot);
        auto current = refresh(found->serial);
        if (auto fault = injectedFault(entry, found->serial))
            return *fault;
        CallContext context(*this, *found, handle, session, std::move(current));
        return body(context);
    });
}

} // namespace qvstandin
