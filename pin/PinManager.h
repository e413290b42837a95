#pragma once

#include "pin/BaseInputMode.h"
#include "pin/PinType.h"

#include <boost/program_options/variables_map.hpp>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>

class BasePinManagerVisitor;

// Obtains the PIN of one role of a command: decides from the parsed options which of
// the role's ways applies, prepares it, then hands out its PIN. Copies share the ways
// and the choice.
class PinManager {
public:
    PinManager(PinType pinType, std::string inputModeOptionKey);

    // Registers a way; a later one of the same kind replaces the earlier.
    template <typename Mode, typename Argument>
    PinManager& addInputMode(Argument&& argument)
    {
        auto mode = std::make_shared<Mode>(std::forward<Argument>(argument));
        const auto kind = mode->mode();
        modes_[kind] = std::move(mode);
        return *this;
    }

    // Chooses and prepares the way (console PINs are typed here). Throws
    // PinInputDeductionError, PinInputModeSupportError and the way's own errors; a failure
    // leaves the manager unprepared.
    void prepare(const boost::program_options::variables_map& variables);
    // Throws PinManagerUnpreparedError before a successful prepare.
    std::string getPin(std::size_t minLength) const;
    // Does nothing before a successful prepare.
    void accept(BasePinManagerVisitor& visitor) const;
    // Whether the user said anything about this PIN on the command line.
    bool areRelatedOptionsPresent(const boost::program_options::variables_map& variables) const;

private:
    std::string pinName() const;
    void prepareMode(PinInputMode mode, const boost::program_options::variables_map& variables);

    PinType pinType_;
    std::string inputModeOptionKey_;
    std::map<PinInputMode, std::shared_ptr<BaseInputMode>> modes_;
    std::shared_ptr<BaseInputMode> chosenMode_;
};
