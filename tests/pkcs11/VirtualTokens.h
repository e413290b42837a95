#pragma once

#include <qvtoken-core/TokenState.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace quorvik::pkcs11 {

// Virtual tokens in a private state directory, and the stand-in module's call trace, for tests
// that drive the module linked into the test executable. The module reads the directory when
// it is initialised, so tokens are prepared before a Pkcs11 object is built.
class VirtualTokens : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A preset token, optionally changed before it is stored; returns its serial number.
    std::uint64_t addToken(const std::string& preset, std::uint64_t serial, unsigned long slotId,
                           const std::function<void(qvtoken::TokenState&)>& change = {});
    void modify(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& change);
    qvtoken::TokenState load(std::uint64_t serial) const;
    // Lets `entry` answer `rv` after `skip` calls, `times` times.
    void addFault(std::uint64_t serial, const std::string& entry, unsigned long rv, unsigned long skip = 0,
                  long times = 1);

    // How often the module traced a call of `entry` so far.
    int calls(const std::string& entry) const;

private:
    std::filesystem::path directory_;
    std::filesystem::path trace_;
};

} // namespace quorvik::pkcs11
