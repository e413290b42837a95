#include "ProbeFolder.h"

#include <gtest/gtest.h>

namespace {

// Each row: the configuration file, the command line, what the two roles' managers chose
// (or the error). The admin PIN to log in with allows console and options; the new user
// PIN console, options and generate ("probe") or options and a default PIN ("probe-default").
TEST(PinDeductionTest, ModeComesFromExplicitChoiceOwnOptionsOrDefault)
{
    struct Case {
        std::string config;
        std::vector<std::string> args;
        std::string result;
    };
    const std::string allSets = "generate \"lower-letters upper-letters digits spec-chars\"\n";
    const Case cases[] = {
        // Own options select their mode.
        {"", {"probe", "-p", "11", "-n", "22"}, "auth: pin [11]\nnew: pin [22]\n"},
        {"", {"probe", "-p", "11", "-g", "d", "l:8"}, "auth: pin [11]\nnew: generate \"digits length:8\"\n"},
        // The built-in default "options" without its value.
        {"", {"probe", "-p", "11"}, "Error: Missing specific options for new user PIN.\n"},
        {"", {"probe", "-n", "22"}, "Error: Missing specific options for authorization admin PIN.\n"},
        // Explicit mode, alone, agreeing or disagreeing with own options.
        {"", {"probe", "-p", "11", "-N", "generate"}, "auth: pin [11]\nnew: " + allSets},
        {"", {"probe", "-p", "11", "-N", "options", "-n", "22"}, "auth: pin [11]\nnew: pin [22]\n"},
        {"", {"probe", "-P", "console", "-p", "11"}, "Error: Failed to deduce how to get authorization admin PIN.\n"},
        {"",
         {"probe", "-p", "11", "-N", "generate", "-n", "22", "-g", "d"},
         "Error: Failed to deduce how to get new user PIN.\n"},
        {"", {"probe", "-p", "11", "-n", "22", "-g", "d"}, "Error: Failed to deduce how to get new user PIN.\n"},
        // Modes the role does not register.
        {"",
         {"probe", "-P", "generate", "-n", "22"},
         "Error: Input mode generate isn't supported for authorization admin PIN.\n"},
        {"", {"probe", "-p", "11", "-N", "default"}, "Error: Input mode default isn't supported for new user PIN.\n"},
        {"new-pin-input=default\n",
         {"probe", "-p", "11"},
         "Error: Input mode default isn't supported for new user PIN.\n"},
        {"auth-pin-input=default\n",
         {"probe", "-n", "22"},
         "Error: Input mode default isn't supported for authorization admin PIN.\n"},
        // A configured mode applies only when no own options are given.
        {"new-pin-input=generate\n", {"probe", "-p", "11"}, "auth: pin [11]\nnew: " + allSets},
        {"new-pin-input=generate\n", {"probe", "-p", "11", "-n", "22"}, "auth: pin [11]\nnew: pin [22]\n"},
        {"new-pin-input=generate\ngen-settings=ul l:6\n",
         {"probe", "-p", "11"},
         "auth: pin [11]\nnew: generate \"upper-letters length:6\"\n"},
        {"new-pin-input=generate\n",
         {"probe", "-p", "11", "-N", "options", "-n", "3"},
         "auth: pin [11]\nnew: pin [3]\n"},
        // Console from a command's own section only; input here is the null device.
        {"[probe]\nnew-pin-input=console\n",
         {"probe", "-p", "11"},
         "Enter new user PIN: \nError: No new user PIN was given.\n"},
        {"[probe]\nnew-pin-input=console\n", {"probe-default", "-p", "11"}, "auth: pin [11]\nnew: pin [40417263]\n"},
        // The default PIN, and its role's value option.
        {"", {"probe-default", "-p", "11", "--new-user-pin", "5"}, "auth: pin [11]\nnew: pin [5]\n"},
        {"", {"probe-default", "-p", "11", "-N", "options"}, "Error: Missing specific options for new user PIN.\n"},
        // Words the text forms do not read.
        {"",
         {"probe", "-p", "11", "-N", "Console"},
         "Error: the argument ('Console') for option '--new-pin-input' is invalid\n"},
        // Repeated settings are found when the generate mode is prepared.
        {"",
         {"probe", "-p", "11", "-g", "d", "digits"},
         "Error: Same PIN generation setting cannot be specified more than once.\n"},
    };
    ProbeFolder folder;
    for (const auto& c : cases) {
        std::string line;
        for (const auto& arg : c.args) {
            line += " " + arg;
        }
        SCOPED_TRACE(c.config + "|" + line);
        folder.writeConfig(c.config);
        EXPECT_EQ(folder.run(c.args), c.result);
    }
}

} // namespace
