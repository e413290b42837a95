#pragma once

#include "logging/BaseLogger.h"
#include "pin/BasePinManagerVisitor.h"
#include "token/types/PinLengths.h"
#include "token/types/PinPolicy.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Obtains a role's new PIN for one token, applies it and logs it. A generated PIN is
// first checked against the token's policy and regenerated when the token refuses it.
class ApplyPinVisitor : public BasePinManagerVisitor {
public:
    struct Params {
        std::uint64_t serial;
        // Key of the role's PIN value option, written into the PIN record.
        std::string name;
        // The PIN's type as the PIN file writes it ("user", "so", "local-4"), or "local" for a
        // local PIN the token names; told to the operator when a generated PIN may be lost.
        std::string role;
        // The token's lengths for the PIN, asked only when a PIN is generated: on a token
        // without the objects they are read from, a given PIN must still be applicable.
        std::function<PinLengths()> lengths;
        std::function<std::optional<PinPolicy>()> pinPolicyGetter = [] { return std::optional<PinPolicy>(); };
    };
    // Performs the token operation with the PIN; returns the PIN type text to log.
    using ApplyFunction = std::function<std::string(const std::string& pin)>;

    ApplyPinVisitor(Params params, ApplyFunction apply, std::shared_ptr<logging::BaseLogger> logger);

    void visit(BaseInputMode& mode) override;
    // Throws GenSettingsMissingError when the settings miss a set the policy requires,
    // TooLongGeneratedPinError when the PIN would exceed the token's maximum length (nothing is
    // applied then), and PinRegenerationError after the seventh refused PIN. When applying fails
    // in a way that may have left the PIN on the token, the PIN is written on the standard error
    // stream (standard output when that refuses it) and logged before the error passes on:
    // nobody else knows it. A refusal that says the token kept its PIN passes on alone. From
    // before a PIN is sent until the token's outcome is written out, a line telling it is held
    // (held_pin_lines) for a run that a signal ends at once.
    void visit(GenerateInputMode& mode) override;

private:
    Params params_;
    ApplyFunction apply_;
    std::shared_ptr<logging::BaseLogger> logger_;
};
