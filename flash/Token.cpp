#include "flash/Token.h"

#include "flash/InternalWrapperError.h"
#include "flash/handleStatusCode.h"
#include "pkcs11/ScopeGuard.h"

#include <utility>

namespace quorvik::qvflash {
namespace {

qvflash_String toLibraryString(std::string_view text)
{
    return {text.size(), text.data()};
}

qvflash_MvaRecord toMvaRecord(const std::vector<uint8_t>& snapshot)
{
    return {snapshot.size(), snapshot.data()};
}

} // namespace

std::set<uint64_t> Token::listSerials()
{
    uint64_t* serials = nullptr;
    size_t count = 0;
    const qvflash_StatusCode status = qvflash_create_token_list(&serials, &count);
    const auto release = vt::scopeGuard(vt::ScopeExit{}, [&] { qvflash_destroy_token_list(&serials); });
    handleStatusCode(status);
    return std::set<uint64_t>(serials, serials + count);
}

std::shared_ptr<Token> Token::create(uint64_t serial)
{
    return listSerials().count(serial) != 0 ? open(serial) : nullptr;
}

std::shared_ptr<Token> Token::open(uint64_t serial)
{
    qvflash_TokenImpl_* opened = nullptr;
    handleStatusCode(qvflash_create_token(serial, &opened));
    // Owned from here on, so that no later failure can leak the handle and its card connection.
    return ifSupported(serial, TokenHandle(opened));
}

std::shared_ptr<Token> Token::find(uint64_t serial)
{
    qvflash_TokenImpl_* opened = nullptr;
    const qvflash_StatusCode status = qvflash_create_token(serial, &opened);
    if (status == QVFLASH_ST_DEVICE_NOT_FOUND)
        return nullptr;
    handleStatusCode(status);
    return ifSupported(serial, TokenHandle(opened));
}

std::shared_ptr<Token> Token::ifSupported(uint64_t serial, TokenHandle handle)
{
    bool supported = false;
    handleStatusCode(qvflash_is_token_supported(handle.get(), &supported));
    if (!supported)
        return nullptr;
    return std::make_shared<Token>(Passkey{}, serial, std::move(handle));
}

Token::Token(Passkey, uint64_t serial, TokenHandle handle) : serial_(serial), handle_(std::move(handle)) {}

std::shared_ptr<SectionList> Token::getTokenVolumeInfo() const
{
    return SectionList::create(handle_.get());
}

uint32_t Token::getDriveSize() const
{
    uint32_t size = 0;
    handleStatusCode(qvflash_get_available_flash_size(handle_.get(), &size));
    return size;
}

std::optional<qvflash_SecretType> Token::getLocalSecretType(uint16_t id) const
{
    const auto mvas = MvaList::create(handle_.get());
    const auto localPins = LocalPinList::create(handle_.get());
    const bool inMva = mvas->contains(id);
    const bool inLocal = localPins->contains(id);
    if (inMva && inLocal)
        throw InternalWrapperError();
    if (inMva)
        return QVFLASH_SECRET_MVA;
    if (inLocal)
        return QVFLASH_SECRET_LOCAL_PIN;
    return std::nullopt;
}

std::shared_ptr<MvaList> Token::getMvaList() const
{
    return MvaList::create(handle_.get());
}

uint16_t Token::createMva(qvflash_MvaParams params)
{
    uint16_t id = 0;
    handleStatusCode(qvflash_create_mva(handle_.get(), &params, &id));
    return id;
}

void Token::clearMva(uint16_t id)
{
    handleStatusCode(qvflash_mva_clear_all_records(handle_.get(), id));
}

uint8_t Token::addSnapshotToMva(uint16_t id, const std::vector<uint8_t>& snapshot)
{
    uint8_t recordId = 0;
    handleStatusCode(qvflash_mva_add_record(handle_.get(), id, toMvaRecord(snapshot), &recordId));
    return recordId;
}

uint16_t Token::createLocalPin(std::string_view pin)
{
    uint16_t id = 0;
    handleStatusCode(qvflash_create_local_pin(handle_.get(), toLibraryString(pin), QVFLASH_SECURE_LOCAL_PIN, &id));
    return id;
}

void Token::setLocalPin(uint16_t id, std::string_view pin)
{
    handleStatusCode(qvflash_change_local_pin(handle_.get(), id, toLibraryString(pin)));
}

void Token::unblockPins(UnblockedPins& restored)
{
    handleStatusCode(qvflash_reset_login_attempts_user(handle_.get()));
    restored.user = true;
    MvaList::create(handle_.get())->unblockAll(restored.mvas);
    LocalPinList::create(handle_.get())->unblockAll(restored.localPins);
}

void Token::splitIntoSections(const std::vector<qvflash_Section>& sections)
{
    // An empty vector's data() may be null, which the library would take for a missing
    // argument; an empty split is the library's to refuse as a section count.
    const qvflash_Section none{};
    handleStatusCode(
        qvflash_split_into_sections(handle_.get(), sections.empty() ? &none : sections.data(), sections.size()));
}

void Token::changeSectionAccessRights(uint8_t id, qvflash_SectionAccessState state, bool permanent)
{
    handleStatusCode(qvflash_change_section_access_rights(handle_.get(), id, state, permanent));
}

void Token::login(std::string_view pin, UserType type)
{
    switch (type) {
    case UserType::Admin:
        return handleStatusCode(qvflash_login_admin(handle_.get(), toLibraryString(pin)));
    case UserType::User:
        return handleStatusCode(qvflash_login_user(handle_.get(), toLibraryString(pin)));
    }
    throw InternalWrapperError();
}

void Token::loginMva(uint16_t id, const std::vector<uint8_t>& snapshot)
{
    handleStatusCode(qvflash_login_mva(handle_.get(), id, toMvaRecord(snapshot)));
}

void Token::loginLocal(uint16_t id, std::string_view pin)
{
    handleStatusCode(qvflash_login_local_pin(handle_.get(), id, toLibraryString(pin)));
}

void Token::logout()
{
    handleStatusCode(qvflash_logout(handle_.get()));
}

void Token::addLogPcInfo(qvflash_PcInfo info)
{
    // The journal entry must not stop the operation it records.
    static_cast<void>(qvflash_add_pc_info_to_journal(handle_.get(), &info));
}

} // namespace quorvik::qvflash
