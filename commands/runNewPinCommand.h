#pragma once

#include "logging/BaseLogger.h"
#include "logging/CommandRecord.h"
#include "pin/ApplyPinVisitor.h"
#include "pin/PinParamsDto.h"
#include "token/BaseStrategy.h"

#include <boost/program_options/variables_map.hpp>

#include <functional>
#include <memory>
#include <string>

class Token;
class TokenManager;

// What a command that sets one new PIN gives for each token: the visitor's parameters, and the
// function that applies the new PIN with the authorisation PIN and names the PIN's type.
struct NewPinTarget {
    ApplyPinVisitor::Params params;
    ApplyPinVisitor::ApplyFunction apply;
};
using NewPinTargetBuilder = std::function<NewPinTarget(Token& token, const std::string& authPin)>;

// The course of a command with an authorisation PIN and one new PIN: prepares both roles,
// logs the command (record completed with the generation settings), obtains the authorisation
// PIN once, then on every token obtains its new PIN, applies it and logs it. The strategy
// prints the outcome.
void runNewPinCommand(const boost::program_options::variables_map& vm, logging::CommandRecord record,
                      const pin_options::PinParamsDto& authRole, const pin_options::PinParamsDto& newRole,
                      NewPinTargetBuilder targetBuilder, const BaseStrategy& strategy,
                      std::shared_ptr<logging::BaseLogger> logger, const TokenManager& tokenManager);
