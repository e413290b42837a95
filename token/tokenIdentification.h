#pragma once

#include "pkcs11/Pkcs11Interface.h"
#include "pkcs11/Token.h"

#include <memory>
#include <optional>
#include <string>

// The model name a token reports of itself in its token-info feature, which only tokens whose
// extended information's feature number is 32 or more carry; empty otherwise.
std::optional<std::string> getSelfIdentifiedModelName(std::shared_ptr<quorvik::pkcs11::Token> token,
                                                      unsigned long featureNumber);

// The token's model as the tool names it: its own name when it reports one, else its versions
// and class, for example "01.00.28.05 ZRN 3.0". Throws UnknownTokenClassError for a class the
// tool does not know.
std::string getTokenIdentificationString(std::shared_ptr<quorvik::pkcs11::Token> token, const CK_TOKEN_INFO& info,
                                         const CK_TOKEN_INFO_EXTENDED& ext);
