#pragma once

#include <qvflash-core/LocalSecretType.h>
#include <qvflash-core/apdu/TLV.h>
#include <qvflash-core/pcsc/Scard.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qvfl {

// One entry of the directory walk: the FCP template's value, its TLVs (which
// point into fcp, so the entry is moved, never copied) and the file id.
struct LocalLoginFile {
    std::vector<std::uint8_t> fcp;
    std::vector<TLV> tlvs;
    std::uint16_t fileId = 0;

    LocalLoginFile(std::vector<std::uint8_t> fcp, std::uint16_t fileId);
    LocalLoginFile(LocalLoginFile&&) = default;
    LocalLoginFile& operator=(LocalLoginFile&&) = default;
    LocalLoginFile(const LocalLoginFile&) = delete;
    LocalLoginFile& operator=(const LocalLoginFile&) = delete;
};

// The directory (1000/1000/6005 from the master file) that holds the local
// PIN files and the MVA files, whose identifiers 3..31 form one namespace.
class LocalLoginDirectory {
public:
    static constexpr std::uint8_t kLocalPinDescriptor = 0x10;
    static constexpr std::uint8_t kMvaDescriptor = 0x14;

    static const std::vector<std::uint16_t>& path();

    explicit LocalLoginDirectory(std::shared_ptr<Scard> scard);

    // Selects the directory itself; it becomes the parent of created files.
    void select() const;
    // Selects one entry and returns its FCP; a missing file is 6001.
    std::vector<std::uint8_t> selectFile(std::uint16_t id) const;

    // Every entry in the card's order, in one card transaction.
    void walk(const std::function<void(LocalLoginFile&&)>& visitor) const;
    // The ids of the entries with this FCP descriptor byte, in the card's order.
    std::vector<std::uint16_t> idsOf(std::uint8_t descriptor) const;
    // The smallest unused id of 3..31; 6014 when all are taken.
    std::uint16_t firstFreeId() const;
    // MVA for descriptor 14, local PIN for any other; 100018 outside 3..31
    // without card traffic.
    LocalSecretType secretType(std::uint16_t id) const;

private:
    std::shared_ptr<Scard> scard;
};

} // namespace qvfl
