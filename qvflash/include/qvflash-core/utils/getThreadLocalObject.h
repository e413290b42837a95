#pragma once

namespace qvfl::utils {

// The calling thread's own object of type T: built from the arguments of the
// thread's first call, destroyed when the thread ends.
template <typename T, typename... Args>
T& getThreadLocalObject(Args... args)
{
    thread_local T object(args...);
    return object;
}

} // namespace qvfl::utils
