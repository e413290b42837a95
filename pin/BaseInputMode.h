#pragma once

#include "pin/PinInputMode.h"

#include <boost/program_options/variables_map.hpp>

#include <cstddef>
#include <string>

class BasePinManagerVisitor;

// One way of obtaining one PIN. Only the way a PIN manager chooses is prepared, before
// any token is touched; its PIN is then asked for as often as needed.
class BaseInputMode {
public:
    virtual ~BaseInputMode() = default;

    virtual PinInputMode mode() const = 0;
    // Whether this way's own option was given on the command line (not defaulted).
    virtual bool checkSpecificOptions(const boost::program_options::variables_map& variables) const = 0;
    virtual void prepare(const std::string& pinName, const boost::program_options::variables_map& variables) = 0;
    virtual std::string getPin(std::size_t minLength) const = 0;
    virtual void accept(BasePinManagerVisitor& visitor) = 0;
};
