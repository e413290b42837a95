#include "commands/preparePinManagers.h"

#include "pin/CheckOptionsVisitor.h"
#include "pin/buildPinManager.h"

std::vector<PinManager> preparePinManagers(const boost::program_options::variables_map& vm,
                                           const std::vector<const pin_options::PinParamsDto*>& roles)
{
    CheckOptionsVisitor checker(vm);
    std::vector<PinManager> managers;
    managers.reserve(roles.size());
    for (const auto* role : roles) {
        managers.push_back(buildPinManager(*role));
        managers.back().prepare(vm);
        managers.back().accept(checker);
    }
    checker.check();
    return managers;
}
