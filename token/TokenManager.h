#pragma once

#include "token/BaseTokenFilter.h"
#include "token/BriefTokenInfo.h"
#include "token/Token.h"

#include <memory>
#include <vector>

namespace quorvik::pkcs11 {
class Pkcs11;
}

// Finds the present tokens through the PKCS#11 module; the command that runs sets the
// filter that chooses among them before it asks for tokens.
class TokenManager {
public:
    explicit TokenManager(quorvik::pkcs11::Pkcs11& pkcs11) noexcept;
    ~TokenManager();

    // Commands hold references to the one manager of the run.
    TokenManager(const TokenManager&) = delete;
    TokenManager& operator=(const TokenManager&) = delete;

    void setFilter(std::shared_ptr<BaseTokenFilter> filter);
    // The chosen tokens in slot order, each built anew.
    std::vector<Token> getTokens() const;
    std::vector<BriefTokenInfo> getAvailableTokensInfo() const;

private:
    quorvik::pkcs11::Pkcs11& pkcs11;
    std::shared_ptr<BaseTokenFilter> filter;
};
