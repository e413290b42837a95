#include "pkcs11/Session.h"

#include "pkcs11/ModuleBytes.h"
#include "pkcs11/ScopeGuard.h"
#include "pkcs11/Template.h"
#include "pkcs11/Wrapper.h"

#include <array>

namespace quorvik::pkcs11 {
namespace {

// Handles asked for per search call.
constexpr unsigned long findBatchSize = 32;

} // namespace

Session::Session(const detail::Wrapper& wrapper, CK_SLOT_ID slot, Flags flags) : wrapper_(wrapper)
{
    wrapper_.openSession(slot, flags | CKF_SERIAL_SESSION, nullptr, nullptr, &handle_);
}

Session::Session(Session&& other) noexcept : wrapper_(other.wrapper_), handle_(other.handle_)
{
    other.handle_ = 0;
}

Session::~Session()
{
    if (handle_ == 0)
        return;
    try {
        wrapper_.closeSession(handle_);
    } catch (...) {
        // Nothing can be done about a session the module would not close.
    }
}

void Session::login(std::string_view pin, UserType userType) const
{
    wrapper_.login(handle_, static_cast<unsigned long>(userType), detail::moduleBytes(pin), pin.size());
}

void Session::logout() const
{
    wrapper_.logout(handle_);
}

void Session::setPIN(std::string_view newPin) const
{
    wrapper_.setPIN(handle_, nullptr, 0, detail::moduleBytes(newPin), newPin.size());
}

void Session::initPIN(std::string_view pin) const
{
    wrapper_.initPIN(handle_, detail::moduleBytes(pin), pin.size());
}

void Session::unblockUserPinEx() const
{
    wrapper_.exUnblockUserPin(handle_);
}

void Session::setLabelEx(std::string_view label) const
{
    wrapper_.exSetTokenName(handle_, detail::moduleBytes(label), label.size());
}

std::string Session::getLabelEx() const
{
    unsigned long length = 0;
    wrapper_.exGetTokenName(handle_, nullptr, &length);
    std::string label(length, ' ');
    wrapper_.exGetTokenName(handle_, reinterpret_cast<unsigned char*>(label.data()), &length);
    label.resize(length);
    return label;
}

void Session::forceChangePin(UserType userType) const
{
    unsigned long data = static_cast<unsigned long>(userType);
    wrapper_.exTokenManage(handle_, QV_TOKEN_OP_FORCE_PIN_CHANGE, &data);
}

std::vector<Object> Session::findObjects(Template& criteria) const
{
    std::vector<CK_ATTRIBUTE> raw = criteria.rawAttributes();
    wrapper_.findObjectsInit(handle_, raw.data(), raw.size());
    const auto finishSearch = vt::scopeGuard(vt::ScopeExit{}, [this] { wrapper_.findObjectsFinal(handle_); });

    std::vector<Object> objects;
    std::array<CK_OBJECT_HANDLE, findBatchSize> batch{};
    for (;;) {
        unsigned long found = 0;
        wrapper_.findObjects(handle_, batch.data(), batch.size(), &found);
        if (found == 0)
            break;
        for (unsigned long i = 0; i < found && i < batch.size(); ++i)
            objects.emplace_back(wrapper_, handle_, batch[i]);
    }
    return objects;
}

} // namespace quorvik::pkcs11
