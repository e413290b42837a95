#pragma once

#include "cli/BaseCommand.h"
#include "cli/CommandsDescription.h"

// Runs when the command line names no command: prints every general option, then the
// command catalogue.
class HelpCommand : public BaseCommand {
public:
    explicit HelpCommand(const CommandsDescription& commands);

    void setConfig(const Config& config) override;
    void run() override;

private:
    Config config;
    const CommandsDescription& commands;
};
