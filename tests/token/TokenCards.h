#pragma once

#include "pkcs11/Pkcs11.h"
#include "token/SingleTokenFilter.h"
#include "token/TokenManager.h"

#include <PcscTestClient.h>
#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The message of what `call` throws; empty when it returns.
inline std::string errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

// Virtual tokens of the cards fixture as the program meets them: preset tokens, plugged into
// pcscd or not, under the stand-in module with its call trace and the cards' APDU logs. The
// tokens, and their cards on pcscd, are gone when the test ends.
class TokenCards : public ::testing::Test {
protected:
    using Adjust = std::function<void(qvtoken::TokenState&)>;

    // A deleted token's card stays listed, no longer answering, until pcscd's next presence
    // poll, and an enumeration that meets it fails: a test starts on an empty bus, whichever
    // test or program left the last card, and leaves none behind it.
    void SetUp() override
    {
        ASSERT_TRUE(client_.waitForNoCard(std::chrono::seconds(15))) << "a card of an earlier test is still on the bus";
    }

    void TearDown() override
    {
        manager_.reset();
        module_.reset();
        for (const auto serial : serials_) {
            store_.remove(serial);
        }
        EXPECT_TRUE(client_.waitForNoCard(std::chrono::seconds(15)));
    }

    // A plugged token is waited for until pcscd serves it.
    std::uint64_t add(const std::string& preset, std::uint64_t serial, unsigned long slot, bool plugged,
                      const Adjust& adjust = {})
    {
        auto token = qvtoken::makePreset(preset);
        token.serial = serial;
        qvtoken::placeInSlot(token, slot);
        token.card.plugged = plugged;
        token.card.awayMs = 100; // a split restarts the card, and the library waits for it
        if (adjust) {
            adjust(token);
        }
        store_.create(token);
        serials_.push_back(serial);
        if (plugged) {
            EXPECT_FALSE(client_.waitForToken(serial, std::chrono::seconds(10)).empty()) << serial;
            client_.disconnect();
        }
        return serial;
    }

    // The module reads the tokens added so far when the manager is first asked for.
    TokenManager& manager()
    {
        if (!manager_) {
            setenv("QVSTANDIN_TRACE", file("../token-tests.trace").c_str(), 1);
            clearLogs();
            module_ = std::make_unique<quorvik::pkcs11::Pkcs11>(nullptr);
            manager_ = std::make_unique<TokenManager>(*module_);
        }
        return *manager_;
    }

    Token token(std::uint64_t serial)
    {
        manager().setFilter(std::make_shared<SingleTokenFilter>(serial));
        return manager().getTokens().at(0);
    }

    void modify(std::uint64_t serial, const Adjust& change) { store_.modify(serial, change); }
    qvtoken::TokenState state(std::uint64_t serial) const { return store_.load(serial).value(); }

    // How many module calls (serial 0), or APDUs of a card, since the last clear hold `part`.
    long logged(std::uint64_t serial, const std::string& part) const
    {
        std::ifstream log(serial == 0 ? file("../token-tests.trace") : apduLog(serial));
        long found = 0;
        for (std::string line; std::getline(log, line);) {
            found += line.find(part) != std::string::npos ? 1 : 0;
        }
        return found;
    }

    void clearLogs()
    {
        std::ofstream(file("../token-tests.trace"), std::ios::trunc);
        for (const auto serial : serials_) {
            std::ofstream(apduLog(serial), std::ios::trunc);
        }
    }

    std::unique_ptr<quorvik::pkcs11::Pkcs11> module_;

private:
    static std::string file(const std::string& name)
    {
        return std::string(std::getenv("QVTOKEN_STATE_DIR")) + "/" + name;
    }
    static std::string apduLog(std::uint64_t serial) { return file(std::to_string(serial) + ".apdu.log"); }

    qvtoken::TokenStore store_;
    qvcardtest::PcscTestClient client_;
    std::vector<std::uint64_t> serials_;
    std::unique_ptr<TokenManager> manager_;
};
