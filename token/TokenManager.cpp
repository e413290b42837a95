#include "token/TokenManager.h"

#include "pkcs11/Pkcs11.h"
#include "pkcs11/Slot.h"

namespace {
// The module's tokens in slot order, without TLS tokens (whose serial is never read) and
// without those the filter rejects. A slot listed with a token that was gone when its details
// were read holds none.
std::vector<std::shared_ptr<quorvik::pkcs11::Token>> filterTokens(quorvik::pkcs11::Pkcs11& pkcs11,
                                                                  const std::shared_ptr<BaseTokenFilter>& filter)
{
    std::vector<std::shared_ptr<quorvik::pkcs11::Token>> tokens;
    for (const auto& slot : pkcs11.getSlotList(true)) {
        auto token = slot->token();
        if (token && !token->isTlsToken() && filter->checkSerialNumber(token->serialNumber())) {
            tokens.push_back(std::move(token));
        }
    }
    return tokens;
}
} // namespace

TokenManager::TokenManager(quorvik::pkcs11::Pkcs11& pkcs11) noexcept : pkcs11(pkcs11) {}

TokenManager::~TokenManager() = default;

void TokenManager::setFilter(std::shared_ptr<BaseTokenFilter> newFilter)
{
    filter = std::move(newFilter);
}

std::vector<Token> TokenManager::getTokens() const
{
    // The tokens of one enumeration share one flash token list, read only if one of them needs it.
    const auto flashTokens = std::make_shared<FlashTokenList>();
    std::vector<Token> tokens;
    for (auto& pkcsToken : filterTokens(pkcs11, filter)) {
        tokens.emplace_back(std::move(pkcsToken), flashTokens);
    }
    return tokens;
}

std::vector<BriefTokenInfo> TokenManager::getAvailableTokensInfo() const
{
    // Reading the information needs no flash token, so the shared list is never read.
    const auto flashTokens = std::make_shared<FlashTokenList>();
    std::vector<BriefTokenInfo> rows;
    for (auto& pkcsToken : filterTokens(pkcs11, filter)) {
        const TokenInfo info = Token(std::move(pkcsToken), flashTokens).getInfo();
        rows.push_back(BriefTokenInfo{info.model, info.serialNumber});
    }
    return rows;
}
