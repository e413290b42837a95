#include "pkcs11/Pkcs11Exception.h"

#include <sstream>

namespace quorvik::pkcs11 {
namespace {

// The text is taken up to its first NUL, as the module's C strings would be.
std::string codeMessage(const std::optional<std::string>& text, const char* name)
{
    return std::string("PKCS11: ") + (text ? text->c_str() : name);
}

std::string unknownMessage(unsigned long rv)
{
    std::ostringstream out;
    out << "PKCS11: unknown error " << std::hex << std::showbase << rv;
    return out.str();
}

class UnknownException : public Pkcs11Exception {
public:
    explicit UnknownException(unsigned long rv) : Pkcs11Exception(rv, unknownMessage(rv)) {}
};

} // namespace

#define QV_PKCS11_DEFINE_CODE_EXCEPTION(Class, code)                                                                   \
    Class::Class(std::optional<std::string> text) : Pkcs11Exception(code, codeMessage(text, #code)) {}
QV_PKCS11_RETURN_VALUES(QV_PKCS11_DEFINE_CODE_EXCEPTION)
#undef QV_PKCS11_DEFINE_CODE_EXCEPTION

void Pkcs11Exception::emit(unsigned long rv, std::optional<std::string> text)
{
    switch (rv) {
#define QV_PKCS11_THROW_CODE_EXCEPTION(Class, code)                                                                    \
    case code:                                                                                                         \
        throw Class(std::move(text));
        QV_PKCS11_RETURN_VALUES(QV_PKCS11_THROW_CODE_EXCEPTION)
#undef QV_PKCS11_THROW_CODE_EXCEPTION
    default:
        throw UnknownException(rv);
    }
}

WrongAttributeTypeException::WrongAttributeTypeException(AttributeType type)
    : Pkcs11Exception(0, "Wrong PKCS11 attribute type: " + std::to_string(static_cast<unsigned long>(type)))
{
}

} // namespace quorvik::pkcs11
