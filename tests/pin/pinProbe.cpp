// Started by the PIN tests as a program of its own: with "console" it reads one console PIN,
// otherwise it parses its arguments as the program does (configuration file beside the
// executable) for the commands of ProbeRoles.h and prints what each role's manager chose.
// Results and errors go to standard output.

#include "ProbeRoles.h"

#include "cli/BaseCliCommand.h"
#include "cli/ParamParser.h"
#include "pin/BasePinManagerVisitor.h"
#include "pin/ConsoleInputMode.h"
#include "pin/GenerateInputMode.h"
#include "pin/buildPinManager.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

class PrintingVisitor : public BasePinManagerVisitor {
public:
    explicit PrintingVisitor(std::string role) : role_(std::move(role)) {}

    void visit(BaseInputMode& mode) override { std::cout << role_ << ": pin [" << mode.getPin(0) << "]\n"; }
    void visit(GenerateInputMode& mode) override { std::cout << role_ << ": generate " << mode.getSettings() << "\n"; }

private:
    std::string role_;
};

template <typename Adapter>
class ProbeCommand : public BaseCliCommand {
public:
    ProbeCommand(const Adapter& adapter, const pin_options::PinParamsDto& newPinParams)
        : adapter_(adapter), newPinParams_(newPinParams)
    {
    }

    void setConfig(const Config& newConfig) override { config_ = newConfig; }
    void setVarMap(boost::program_options::variables_map* newVariables) override { variables_ = newVariables; }
    boost::program_options::options_description getOptionsDescription() const override
    {
        return adapter_.getOptionsDescription(config_);
    }
    const BaseCommandInfo& getCommandInfo() const override { return adapter_.commandInfo(); }

    void run() override
    {
        std::vector<std::pair<std::string, PinManager>> managers{
            {"auth", buildPinManager(probe_options::authPinParamsDto)}, {"new", buildPinManager(newPinParams_)}};
        for (auto& [role, manager] : managers) {
            manager.prepare(*variables_);
        }
        for (auto& [role, manager] : managers) {
            PrintingVisitor printer(role);
            manager.accept(printer);
        }
    }

private:
    const Adapter& adapter_;
    const pin_options::PinParamsDto& newPinParams_;
    Config config_;
    boost::program_options::variables_map* variables_ = nullptr;
};

// Hex, so that a test of the terminal can tell an echoed PIN from a printed one.
void readConsolePin(bool confirm)
{
    ConsoleInputMode mode(confirm);
    mode.prepare("new user PIN", {});
    std::cout << "PIN";
    for (const unsigned char c : mode.getPin(0)) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", c);
        std::cout << hex;
    }
    std::cout << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc >= 2 && std::strcmp(argv[1], "console") == 0) {
            readConsolePin(argc >= 3 && std::strcmp(argv[2], "confirm") == 0);
            return 0;
        }
        ParamParser parser;
        parser.registerCommand(std::make_shared<ProbeCommand<decltype(probe_options::probeAdapter)>>(
            probe_options::probeAdapter, probe_options::newPinParamsDto));
        parser.registerCommand(std::make_shared<ProbeCommand<decltype(probe_options::probeDefaultAdapter)>>(
            probe_options::probeDefaultAdapter, probe_options::defaultPinParamsDto));
        parser.parse(argc, argv)->run();
        return 0;
    } catch (const std::exception& e) {
        std::cout << "Error: " << e.what() << std::endl;
        return 1;
    }
}
