#pragma once

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

namespace vt {

// When a guard's action runs: ScopeExit on every exit, ScopeFail only when the scope is left by
// an exception.
struct ScopeExit {};
struct ScopeFail {};

// The text of the exception being handled: its what(), or a fixed text for one that is no
// std::exception. Only inside a handler.
std::string currentErrorText();

namespace detail {

// A guard's action must not throw past the guard (it may run during unwinding): its error is
// written to the standard error stream and dropped.
void reportGuardError() noexcept;

template <typename When, typename Action>
class ScopeGuard {
public:
    explicit ScopeGuard(Action action) : action_(std::move(action)) {}
    // One guard, one action: a copy would run the action twice.
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ScopeGuard(ScopeGuard&& other) = delete;
    ScopeGuard& operator=(ScopeGuard&&) = delete;

    ~ScopeGuard()
    {
        if constexpr (std::is_same_v<When, ScopeFail>) {
            if (std::uncaught_exceptions() <= exceptionsAtEntry_)
                return;
        }
        try {
            action_();
        } catch (...) {
            reportGuardError();
        }
    }

private:
    Action action_;
    int exceptionsAtEntry_ = std::uncaught_exceptions();
};

} // namespace detail

// auto guard = vt::scopeGuard(vt::ScopeFail{}, [&] { ... });
template <typename When, typename Action>
detail::ScopeGuard<When, std::decay_t<Action>> scopeGuard(When, Action&& action)
{
    static_assert(std::is_same_v<When, ScopeExit> || std::is_same_v<When, ScopeFail>);
    return detail::ScopeGuard<When, std::decay_t<Action>>(std::forward<Action>(action));
}

} // namespace vt
