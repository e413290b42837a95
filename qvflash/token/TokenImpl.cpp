#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/apdu/TLV.h>
#include <qvflash-core/apdu/TokenApdu.h>
#include <qvflash-core/apdu/fcp.h>
#include <qvflash-core/errors/ApduException.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

namespace qvfl {
namespace {

constexpr std::uint16_t kInstructionNotSupported = 0x6D00;
constexpr std::uint8_t kTokenInfoTag = 0x40;

} // namespace

TokenImpl::TokenImpl(std::shared_ptr<Scard> scard) : scard(std::move(scard)) {}

TokenImpl::~TokenImpl()
{
    logout();
}

void TokenImpl::unblockPin()
{
    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    transmitChecked(*scard, ApduCommand::UnblockUserPin());
}

bool TokenImpl::isSupported() const
{
    const ScardLocker lock(scard);
    const auto [statusWord, data] = scard->transmit(GetExtendedTokenInfoApdu());
    if (statusWord == kInstructionNotSupported) {
        return false;
    }
    if (statusWord != kStatusSuccess) {
        throw ApduException(statusWord);
    }
    const std::vector<TLV> info = parseTLVStructs(data.begin(), data.end(), TlvType::Ber);
    const TLV* tokenInfo = findTag(info, kTokenInfoTag);
    if (tokenInfo == nullptr) {
        return false;
    }
    const std::vector<TLV> inner = parseTLVStructs(tokenInfo->begin, tokenInfo->end, TlvType::Ber);
    const TLV* capabilities = findTag(inner, FCP::kCapabilitiesTag);
    if (capabilities == nullptr) {
        return false;
    }
    const FCP::FunctionalCapabilitiesView view(*capabilities);
    return view.isValid() && view.isSecurityEventLoggingSupported() && view.isPartitioningSupported();
}

} // namespace qvfl
