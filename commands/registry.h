#pragma once

class ParamParser;
class TokenManager;

namespace quorvik::pkcs11 {
class Pkcs11;
}

// Start-up hook for texts of PKCS#11 return values; none are registered, so every
// module error is reported by its return value's name.
void registerWhats(quorvik::pkcs11::Pkcs11& pkcs11);

// Registers the texts of the flash library's status codes that the program words itself.
void registerWhatsQvflash();

// Registers every command of the program with the parser.
void registerCommands(ParamParser& parser, TokenManager& tokenManager);
