#pragma once

#include "pin/BasePinManagerVisitor.h"

#include <boost/program_options/variables_map.hpp>

// Refuses a PIN file when no chosen way generates a PIN: it would stay empty.
class CheckOptionsVisitor : public BasePinManagerVisitor {
public:
    // Only a PIN file given on the command line counts: one named in the configuration
    // file must not stop the commands that generate nothing.
    explicit CheckOptionsVisitor(const boost::program_options::variables_map& variables);

    void visit(BaseInputMode& mode) override;
    void visit(GenerateInputMode& mode) override;
    // Throws PinFileNotAllowedError; call after every prepared manager was visited.
    void check() const;

private:
    bool pinFilePresent_;
    bool generateSeen_ = false;
};
