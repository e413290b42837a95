#pragma once

#include <qvflash-core/login/Login.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvfl {

// An MVA object: a record file of host descriptions. Presenting a record
// equal to a stored one logs in as the MVA.
class MVA {
public:
    virtual ~MVA() = default;

    // Fills the first empty record, else appends; returns the record number.
    virtual unsigned char addRecord(const std::vector<std::uint8_t>& record) = 0;
    virtual std::shared_ptr<Login> createLogin(std::vector<std::uint8_t> record) = 0;
    virtual std::shared_ptr<Login> createLogin(Login::NoAuthNeed_t) = 0;
    virtual void eraseRecordFromMva(unsigned char recordNumber) = 0;
    virtual void clear() = 0;
    virtual void unblock() = 0;
    virtual unsigned short getId() = 0;
};

} // namespace qvfl
