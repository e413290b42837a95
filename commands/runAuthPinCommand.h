#pragma once

#include "logging/BaseLogger.h"
#include "logging/CommandRecord.h"
#include "pin/PinParamsDto.h"
#include "token/BaseStrategy.h"

#include <boost/program_options/variables_map.hpp>

#include <functional>
#include <memory>
#include <string>

class Token;
class TokenManager;

// What a command authorised by one PIN does to each token with that PIN.
using AuthPinOperation = std::function<void(Token& token, const std::string& authPin)>;

// The course of a command that sets no PIN: prepares the authorisation PIN's role (a console
// PIN is typed here, before any token is touched), logs the command, obtains the PIN once and
// runs the operation on every token with it. The strategy prints the outcome.
void runAuthPinCommand(const boost::program_options::variables_map& vm, logging::CommandRecord record,
                       const pin_options::PinParamsDto& authRole, AuthPinOperation operation,
                       const BaseStrategy& strategy, std::shared_ptr<logging::BaseLogger> logger,
                       const TokenManager& tokenManager);
