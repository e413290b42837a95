#pragma once

#include "cli/Config.h"

// What the entry point needs of a command: its configuration, then one run.
class BaseCommand {
public:
    virtual ~BaseCommand() = default;
    virtual void setConfig(const Config& config) = 0;
    // Reports failure only by throwing.
    virtual void run() = 0;
};
