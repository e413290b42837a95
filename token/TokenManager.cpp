#include "token/TokenManager.h"

TokenManager::TokenManager(quorvik::pkcs11::Pkcs11& pkcs11) noexcept
    : pkcs11(pkcs11)
{
}

TokenManager::~TokenManager() = default;
