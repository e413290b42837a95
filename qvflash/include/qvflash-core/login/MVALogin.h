#pragma once

#include <qvflash-core/login/LoginImpl.h>

#include <vector>

namespace qvfl {

// An MVA object, presented with one host record; a record that matches none
// of the object's records is a mismatch (100019), not a wrong PIN.
// Lengths are the caller's to check.
class MVALogin : public LoginImpl {
public:
    MVALogin(std::vector<std::uint8_t> record, unsigned short id);
    MVALogin(unsigned short id, NoAuthNeed_t);

    std::uint8_t type() const override;
    Apdu getLoginCommand() const override;
    qvflash_StatusCode getIncorrectLoginStatus() const override;
    Apdu getRemainingAttemptsCommand() const override;
};

} // namespace qvfl
