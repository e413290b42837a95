#include <qvflash-core/token/TokenImpl.h>

#include <qvflash-core/apdu/FcpTemplates.h>
#include <qvflash-core/apdu/LocalLoginApdu.h>
#include <qvflash-core/local/MVAImpl.h>
#include <qvflash-core/login/LoginTransaction.h>
#include <qvflash-core/pcsc/ScardLocker.h>
#include <qvflash-core/pcsc/transmitChecked.h>

#include <algorithm>

namespace qvfl {
namespace {

constexpr std::uint16_t kAdminLoginId = 1;
constexpr unsigned kMaxRecordCount = 254;
constexpr unsigned kMaxRecordSize = 249;
constexpr unsigned kMvaSizeLimit = 33021;
constexpr unsigned kMaxAttempts = 10;
constexpr std::int64_t kExpectMva = 1;

} // namespace

void TokenImpl::requireAdminLogin() const
{
    const bool admin = std::any_of(logins.begin(), logins.end(),
                                   [](const auto& login) { return login && login->getId() == kAdminLoginId; });
    if (!admin) {
        throw Exception(QVFLASH_ST_INVALID_RIGHTS);
    }
}

std::shared_ptr<MVA> TokenImpl::getMva(std::uint16_t id)
{
    if (getLocalSecretType(id) != LocalSecretType::Mva) {
        throw Exception(QVFLASH_ST_OBJECT_ID_TYPE_MISMATCH, {Condition(QVFLASH_COND_SECRET_ID, std::int64_t{id}),
                                                             Condition(QVFLASH_COND_EXPECTED_SECRET_TYPE, kExpectMva)});
    }
    return MVAImpl::wrapMva(scard, id);
}

std::shared_ptr<Login> TokenImpl::createMvaLogin(std::uint16_t mvaId, std::vector<std::uint8_t> record)
{
    return getMva(mvaId)->createLogin(std::move(record));
}

// Checked like a login with a record: a count read for an id out of range or of a local PIN
// would be another secret's.
std::shared_ptr<Login> TokenImpl::createMvaLogin(std::uint16_t mvaId, Login::NoAuthNeed_t)
{
    return getMva(mvaId)->createLogin(Login::NoAuthNeed_t{});
}

std::uint16_t TokenImpl::createMva(std::uint8_t recordCount, std::uint8_t recordSize, std::uint8_t attempts)
{
    if (recordCount == 0 || recordCount > kMaxRecordCount) {
        throw Exception(QVFLASH_ST_INVALID_RECORD_COUNT);
    }
    if (recordSize == 0 || recordSize > kMaxRecordSize) {
        throw Exception(QVFLASH_ST_INVALID_RECORD_SIZE);
    }
    if (unsigned{recordCount} * recordSize >= kMvaSizeLimit) {
        throw Exception(QVFLASH_ST_INVALID_MVA_SIZE);
    }
    if (attempts == 0 || attempts > kMaxAttempts) {
        throw Exception(QVFLASH_ST_INVALID_ATTEMPT_COUNT);
    }
    requireAdminLogin();
    const std::uint16_t id = getFirstFreeLocalLoginId();
    const std::vector<std::uint8_t> fcpTemplate = FCP::getMvaTemplateDataVector(id, recordCount, recordSize, attempts);

    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    LocalLoginDirectory(scard).select();
    transmitChecked(*scard, ApduCreateFile(fcpTemplate));
    return id;
}

std::vector<std::uint16_t> TokenImpl::getMvaIdList()
{
    return LocalLoginDirectory(scard).idsOf(LocalLoginDirectory::kMvaDescriptor);
}

std::uint8_t TokenImpl::addMvaRecord(std::uint16_t mvaId, const std::vector<std::uint8_t>& record)
{
    const ScardLocker lock(scard);
    requireAdminLogin();
    const LoginTransaction transaction(scard, logins);
    return getMva(mvaId)->addRecord(record);
}

void TokenImpl::eraseRecordFromMva(std::uint16_t mvaId, std::uint8_t recordId)
{
    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    getMva(mvaId)->eraseRecordFromMva(recordId);
}

void TokenImpl::clearMva(std::uint16_t mvaId)
{
    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    getMva(mvaId)->clear();
}

void TokenImpl::unblockMva(std::uint16_t mvaId)
{
    const ScardLocker lock(scard);
    const LoginTransaction transaction(scard, logins);
    getMva(mvaId)->unblock();
}

} // namespace qvfl
