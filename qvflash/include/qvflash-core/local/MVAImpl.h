#pragma once

#include <qvflash-core/apdu/VrRsfResponseWrap.h>
#include <qvflash-core/local/MVA.h>
#include <qvflash-core/pcsc/Scard.h>

namespace qvfl {

// One MVA file of the local-login directory; a short-lived handle that
// caches nothing from the card.
class MVAImpl : public MVA {
public:
    static std::shared_ptr<MVAImpl> wrapMva(std::shared_ptr<Scard> scard, unsigned short id);

    MVAImpl(std::shared_ptr<Scard> scard, unsigned short id);

    unsigned char addRecord(const std::vector<std::uint8_t>& record) override;
    std::shared_ptr<Login> createLogin(std::vector<std::uint8_t> record) override;
    std::shared_ptr<Login> createLogin(Login::NoAuthNeed_t) override;
    void eraseRecordFromMva(unsigned char recordNumber) override;
    void clear() override;
    void unblock() override;
    unsigned short getId() override;

    FCP::VrRsfResponseWrap selectMva() const;
    void appendRecord(const std::vector<std::uint8_t>& record) const;
    void updateRecord(unsigned char recordNumber, const std::vector<std::uint8_t>& record) const;

private:
    std::shared_ptr<Scard> scard;
    std::uint16_t id;
};

} // namespace qvfl
