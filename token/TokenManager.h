#pragma once

#include <memory>

namespace quorvik::pkcs11 {
class Pkcs11;
}

class BaseTokenFilter;

// Finds the present tokens through the PKCS#11 module; the command that runs sets the
// filter that chooses among them.
class TokenManager {
public:
    explicit TokenManager(quorvik::pkcs11::Pkcs11& pkcs11) noexcept;
    ~TokenManager();

    // Commands hold references to the one manager of the run.
    TokenManager(const TokenManager&) = delete;
    TokenManager& operator=(const TokenManager&) = delete;

private:
    quorvik::pkcs11::Pkcs11& pkcs11;
    std::shared_ptr<BaseTokenFilter> filter;
};
