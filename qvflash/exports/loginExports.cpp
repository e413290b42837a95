// Exports that log in and out, report the remaining attempts and restore the
// user PIN's attempts.
#include <qvflash-core/convert/argumentConverters.h>
#include <qvflash-core/core/executeSafe.h>
#include <qvflash-core/exports/exportSupport.h>
#include <qvflash-core/login/Login.h>

using qvfl::Exception;
using qvfl::Login;
using qvfl::core::executeSafe;
using qvfl::exports::requirePointers;
using qvfl::exports::tokenOf;

namespace {

void loginWith(qvfl::Token& token, std::shared_ptr<Login> login)
{
    std::vector<std::shared_ptr<Login>> logins;
    logins.push_back(std::move(login));
    token.login(std::move(logins));
}

// A secret of the wrong size is a wrong login to the caller, whichever step
// noticed it.
template <typename Body>
void reportSizeAsIncorrectLogin(qvflash_StatusCode sizeStatus, Body body)
{
    try {
        body();
    } catch (const Exception& failure) {
        if (failure.code() == sizeStatus) {
            throw Exception(QVFLASH_ST_INCORRECT_LOGIN);
        }
        throw;
    }
}

void setAttempts(qvfl::Token& token, const std::shared_ptr<Login>& login, uint16_t* attempts)
{
    *attempts = token.getRemainigLoginAttempts(login);
}

} // namespace

extern "C" {

QVFLASH_API qvflash_StatusCode qvflash_login_user(qvflash_TokenImpl_* token, qvflash_String pin)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        loginWith(core, Login::createUserLogin(qvfl::convert::toCoreText(pin)));
    });
}

QVFLASH_API qvflash_StatusCode qvflash_login_admin(qvflash_TokenImpl_* token, qvflash_String pin)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        loginWith(core, Login::createAdminLogin(qvfl::convert::toCoreText(pin)));
    });
}

QVFLASH_API qvflash_StatusCode qvflash_login_mva(qvflash_TokenImpl_* token, uint16_t mvaId, qvflash_MvaRecord record)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        reportSizeAsIncorrectLogin(QVFLASH_ST_INVALID_RECORD_SIZE, [&] {
            std::vector<std::uint8_t> bytes = qvfl::convert::toMvaRecord(record);
            loginWith(core, core.createMvaLogin(mvaId, std::move(bytes)));
        });
    });
}

QVFLASH_API qvflash_StatusCode qvflash_login_local_pin(qvflash_TokenImpl_* token, uint16_t localPinId,
                                                       qvflash_String pin)
{
    return executeSafe([&] {
        qvfl::Token& core = tokenOf(token);
        reportSizeAsIncorrectLogin(QVFLASH_ST_INVALID_PIN_SIZE, [&] {
            std::vector<std::uint8_t> bytes = qvfl::convert::toCoreLocalPinContainer(pin);
            loginWith(core, core.createLocalPinLogin(localPinId, std::move(bytes)));
        });
    });
}

QVFLASH_API qvflash_StatusCode qvflash_logout(qvflash_TokenImpl_* token)
{
    return executeSafe([&] { tokenOf(token).logout(); });
}

QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_user(qvflash_TokenImpl_* token, uint16_t* attempts)
{
    return executeSafe([&] {
        requirePointers(token, attempts);
        setAttempts(*token->token, Login::createUserLogin(Login::NoAuthNeed_t{}), attempts);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_admin(qvflash_TokenImpl_* token, uint16_t* attempts)
{
    return executeSafe([&] {
        requirePointers(token, attempts);
        setAttempts(*token->token, Login::createAdminLogin(Login::NoAuthNeed_t{}), attempts);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_mva(qvflash_TokenImpl_* token, uint16_t mvaId,
                                                                        uint16_t* attempts)
{
    return executeSafe([&] {
        requirePointers(token, attempts);
        qvfl::Token& core = *token->token;
        setAttempts(core, core.createMvaLogin(mvaId, Login::NoAuthNeed_t{}), attempts);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_get_remaining_login_attempts_local_pin(qvflash_TokenImpl_* token,
                                                                              uint16_t localPinId, uint16_t* attempts)
{
    return executeSafe([&] {
        requirePointers(token, attempts);
        qvfl::Token& core = *token->token;
        setAttempts(core, core.createLocalPinLogin(localPinId, Login::NoAuthNeed_t{}), attempts);
    });
}

QVFLASH_API qvflash_StatusCode qvflash_reset_login_attempts_user(qvflash_TokenImpl_* token)
{
    return executeSafe([&] { tokenOf(token).unblockPin(); });
}

} // extern "C"
