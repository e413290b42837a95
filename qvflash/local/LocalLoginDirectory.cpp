#include <qvflash-core/local/LocalLoginDirectory.h>

#include <qvflash-core/apdu/FcpFileIdTag.h>
#include <qvflash-core/apdu/RespHandler.h>
#include <qvflash-core/apdu/SelectApdu.h>
#include <qvflash-core/apdu/fcp.h>
#include <qvflash-core/apdu/unexpectedResponse.h>
#include <qvflash-core/local/secretIdRange.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

#include <set>

namespace qvfl {
namespace {

constexpr std::uint16_t kFileNotFound = 0x6A82; // also: no further entry

} // namespace

LocalLoginFile::LocalLoginFile(std::vector<std::uint8_t> fcpBytes, std::uint16_t id)
    : fcp(std::move(fcpBytes)), tlvs(parseTLVStructs(fcp.begin(), fcp.end(), TlvType::Ber)), fileId(id)
{
}

const std::vector<std::uint16_t>& LocalLoginDirectory::path()
{
    static const std::vector<std::uint16_t> kPath{0x1000, 0x1000, 0x6005};
    return kPath;
}

LocalLoginDirectory::LocalLoginDirectory(std::shared_ptr<Scard> scard) : scard(std::move(scard)) {}

void LocalLoginDirectory::select() const
{
    transmitChecked(*scard, ApduCommand::SelectByFullPath(path()));
}

std::vector<std::uint8_t> LocalLoginDirectory::selectFile(std::uint16_t id) const
{
    std::vector<std::uint16_t> filePath = path();
    filePath.push_back(id);
    const ScardLocker lock(scard);
    return transmitChecked(*scard, ApduCommand::SelectByFullPath(filePath));
}

void LocalLoginDirectory::walk(const std::function<void(LocalLoginFile&&)>& visitor) const
{
    const ScardLocker lock(scard);
    select();
    RespHandler answer(scard->transmit(ApduCommand::SelectFirstFileApdu()));
    // A card that lists an entry twice would keep the walk going forever.
    std::set<std::uint16_t> seen;
    while (answer == kStatusSuccess) {
        const std::vector<std::uint8_t>& data = answer.data();
        const std::vector<TLV> outer = parseTLVStructs(data.begin(), data.end(), TlvType::Ber);
        const TLV* fcpTemplate = findTag(outer, FCP::kFcpTemplateTag);
        if (fcpTemplate == nullptr) {
            throw unexpectedResponse("SELECT response doesn't contain the FCP tag");
        }
        LocalLoginFile file(fcpTemplate->value(), 0);
        const TLV* fileIdTag = findTag(file.tlvs, FCP::FcpFileIdTag::kTag);
        if (fileIdTag == nullptr) {
            throw unexpectedResponse("no file identifier in FCP");
        }
        file.fileId = FCP::FcpFileIdTag(*fileIdTag).fileId;
        if (!seen.insert(file.fileId).second) {
            throw unexpectedResponse("file identifier repeated in the directory listing");
        }
        const std::uint16_t id = file.fileId;
        visitor(std::move(file));
        answer = RespHandler(scard->transmit(ApduCommand::SelectNextFileApdu(id)));
    }
    if (answer != kFileNotFound) {
        throw answer.exception();
    }
}

std::vector<std::uint16_t> LocalLoginDirectory::idsOf(std::uint8_t descriptor) const
{
    std::vector<std::uint16_t> ids;
    walk([&ids, descriptor](LocalLoginFile&& file) {
        if (FCP::getFcpDescriptor(file.tlvs) == descriptor) {
            ids.push_back(file.fileId);
        }
    });
    return ids;
}

std::uint16_t LocalLoginDirectory::firstFreeId() const
{
    std::set<std::uint16_t> used;
    walk([&used](LocalLoginFile&& file) { used.insert(file.fileId); });
    std::uint16_t candidate = kFirstLocalSecretId;
    for (auto it = used.lower_bound(kFirstLocalSecretId); it != used.end() && *it == candidate; ++it) {
        ++candidate;
    }
    if (candidate > kLastLocalSecretId) {
        throw Exception(QVFLASH_ST_NO_FREE_LOCAL_FILE_ID);
    }
    return candidate;
}

LocalSecretType LocalLoginDirectory::secretType(std::uint16_t id) const
{
    if (id < kFirstLocalSecretId || id > kLastLocalSecretId) {
        throw secretIdOutOfRange(kLocalSecretIdRangeText, id);
    }
    const std::vector<std::uint8_t> fcp = selectFile(id);
    const std::vector<TLV> tlvs = parseTLVStructs(fcp.begin(), fcp.end(), TlvType::Ber);
    return FCP::getFcpDescriptor(tlvs) == kMvaDescriptor ? LocalSecretType::Mva : LocalSecretType::LocalPin;
}

} // namespace qvfl
