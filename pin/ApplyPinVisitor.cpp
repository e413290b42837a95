#include "pin/ApplyPinVisitor.h"

#include "cli/DomainError.h"
#include "cli/heldPinLines.h"
#include "cli/internalError.h"
#include "cli/runSignals.h"
#include "logging/printToEither.h"
#include "pin/GenerateInputMode.h"
#include "pin/wipeString.h"
#include "pkcs11/Pkcs11Exception.h"
#include "pkcs11/ScopeGuard.h"

#include <iostream>
#include <set>
#include <utility>

namespace {

constexpr int kGenerationAttempts = 7;

using CharsSet = PinGenSettingsElement::CharsSet;

// Tested on the sets as given: no sets (which generation reads as all four) meet nothing.
void checkPolicy(const PinPolicy& policy, const std::vector<PinGenSettingsElement>& settings)
{
    std::set<CharsSet> sets;
    std::optional<std::size_t> length;
    convert(settings, sets, length);
    const std::pair<bool, CharsSet> requirements[] = {
        {policy.digitRequired, CharsSet::Digits},
        {policy.uppercaseRequired, CharsSet::UpperLetters},
        {policy.lowercaseRequired, CharsSet::LowerLetters},
        {policy.specCharRequired, CharsSet::SpecChars},
    };
    for (const auto& [required, set] : requirements) {
        if (required && sets.count(set) == 0) {
            throw GenSettingsMissingError();
        }
    }
}

// One line, written at once, so that parallel tokens' lines stay whole.
void tellPossiblySetPin(std::uint64_t serial, const std::string& role, const std::string& pin)
{
    std::string line = "Token " + std::to_string(serial) + ": the operation failed after the generated " + role +
                       " PIN was sent; the token may now hold this PIN: " + pin + "\n";
    const auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&line] { wipeString(line); });
    logging::printToEither(std::cerr, std::cout, line);
}

// Held from before the PIN is sent until the token's outcome is written out: a run ended at once
// in between writes it, so the PIN is never the token's alone.
std::size_t holdPinLine(std::uint64_t serial, const std::string& role, const std::string& pin)
{
    std::string line = "Token " + std::to_string(serial) + ": the run was ended before the generated " + role +
                       " PIN was written out; the token may now hold this PIN: " + pin + "\n";
    const auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&line] { wipeString(line); });
    return held_pin_lines::hold(serial, line);
}

} // namespace

ApplyPinVisitor::ApplyPinVisitor(Params params, ApplyFunction apply, std::shared_ptr<logging::BaseLogger> logger)
    : params_(std::move(params)), apply_(std::move(apply)), logger_(std::move(logger))
{
}

void ApplyPinVisitor::visit(BaseInputMode& mode)
{
    // These ways ignore the minimum length.
    std::string pin = mode.getPin(0);
    auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&pin] { wipeString(pin); });
    const auto pinType = apply_(pin);
    logger_->add(params_.serial, logging::PinRecord{params_.name, pinType, std::nullopt});
}

void ApplyPinVisitor::visit(GenerateInputMode& mode)
{
    if (const auto policy = params_.pinPolicyGetter()) {
        checkPolicy(*policy, mode.getSettings());
    }
    const auto lengths = params_.lengths();
    for (int attempt = 0; attempt < kGenerationAttempts; ++attempt) {
        std::string pin = mode.getPin(lengths.min);
        auto wipe = vt::scopeGuard(vt::ScopeExit{}, [&pin] { wipeString(pin); });
        // The token would refuse it, and the refusal would not say that it kept its PIN.
        if (pin.size() > lengths.max) {
            throw TooLongGeneratedPinError(pin.size(), lengths.max);
        }
        const auto held = holdPinLine(params_.serial, params_.role, pin);
        // Checked after the line is held: a second signal's write-out that began before has
        // raised the flag, one that begins after reads the line.
        if (run_signals::endingAtOnce()) {
            held_pin_lines::drop(held);
            throw RunEndedError();
        }
        try {
            const auto pinType = apply_(pin);
            logger_->add(params_.serial, logging::PinRecord{params_.name, pinType, pin});
            return;
        } catch (const quorvik::pkcs11::PinInHistoryException&) {
            held_pin_lines::drop(held);
        } catch (const quorvik::pkcs11::InappropriatePinException&) {
            held_pin_lines::drop(held);
        } catch (const DomainError&) {
            // The token's checks, refused logins and refused changes: the token kept its PIN.
            held_pin_lines::drop(held);
            throw;
        } catch (const std::exception&) {
            // The token may have taken the PIN before the failure: the error line alone would lose it.
            tellPossiblySetPin(params_.serial, params_.role, pin);
            logger_->add(params_.serial, logging::PinRecord{params_.name, params_.role, pin});
            throw;
        }
    }
    throw PinRegenerationError();
}
