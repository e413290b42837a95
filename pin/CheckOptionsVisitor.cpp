#include "pin/CheckOptionsVisitor.h"

#include "cli/CliError.h"
#include "cli/Config.h"
#include "pin/isGivenExplicitly.h"

CheckOptionsVisitor::CheckOptionsVisitor(const boost::program_options::variables_map& variables)
    : pinFilePresent_(isGivenExplicitly(variables, config_keys::kPinFile))
{
}

void CheckOptionsVisitor::visit(BaseInputMode&) {}

void CheckOptionsVisitor::visit(GenerateInputMode&)
{
    generateSeen_ = true;
}

void CheckOptionsVisitor::check() const
{
    if (pinFilePresent_ && !generateSeen_) {
        throw PinFileNotAllowedError();
    }
}
