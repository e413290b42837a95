#pragma once

#include <qvtoken-core/TokenState.h>
#include <qvtoken-core/TokenStore.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace qvcardtest {

// Virtual tokens of one test in the fixture's state directory: created plugged from the "full"
// preset (changed by `adjust` first), deleted when the test ends. The first one waits until the
// cards of earlier tests have left the bus, and removing them waits until theirs have.
class VirtualTokens {
public:
    VirtualTokens() = default;
    ~VirtualTokens();
    // Deletes its tokens on destruction; a copy would delete them twice.
    VirtualTokens(const VirtualTokens&) = delete;
    VirtualTokens& operator=(const VirtualTokens&) = delete;

    void add(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& adjust = {});
    void modify(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& change);
    qvtoken::TokenState load(std::uint64_t serial) const;
    qvtoken::TokenStore& store() { return store_; }
    // Deletes the tokens now and waits until their cards have left.
    void removeAll();

private:
    qvtoken::TokenStore store_;
    std::vector<std::uint64_t> serials_;
    bool busClear_ = false;
};

} // namespace qvcardtest
