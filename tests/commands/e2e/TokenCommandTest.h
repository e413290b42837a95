#pragma once

#include "CommandRun.h"
#include "TokenScene.h"

#include <qvtoken-core/TokenPresets.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

// Waits, bounded, until `done` holds.
template <typename Done>
bool waitUntil(const Done& done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A token command test: the scene's tokens, the program's copy, and what the program wrote.
class TokenCommandTest : public testing::Test {
protected:
    static constexpr std::uint64_t kSerial = 1234567890;
    inline static const std::string kAdminPin = "59302814";
    inline static const std::string kUserPin = "40417263";
    inline static const std::string kSuccess = "status: success\n";
    inline static const std::string kFailure = "status: failure\n";

    // The console line of a token that failed or has ids or PINs to show.
    static std::string tokenLine(std::uint64_t serial, const std::string& text,
                                 const std::string& model = "01.00.28.05 ZRN 3.0")
    {
        return "serial: " + std::to_string(serial) + ", model: " + model + ", " + text + "\n";
    }
    static std::string syntaxError(const std::string& message)
    {
        return "Syntax error: " + message +
               "\nTo see a list of all supported commands, run 'qvadmin --help'.\n"
               "To see a list of options supported by a specific command, run 'qvadmin <command> --help'\n";
    }
    // Makes the scene's token the named preset, in the scene's serial and slot.
    static TokenScene::Change asPreset(const std::string& name)
    {
        return [name](qvtoken::TokenState& token) {
            auto preset = qvtoken::makePreset(name);
            preset.serial = token.serial;
            qvtoken::placeInSlot(preset, token.slotId);
            preset.card.plugged = token.card.plugged;
            token = preset;
        };
    }

    std::string log(std::uint64_t serial) const
    {
        return qvadmin.read(qvadmin.folder() / "qvadmin-logs" / ("qvadmin_" + std::to_string(serial) + ".log"));
    }
    std::string pinFile() const { return qvadmin.read(qvadmin.folder() / "pin-file.txt"); }
    bool hasLogFolder() const { return std::filesystem::exists(qvadmin.folder() / "qvadmin-logs"); }

    TokenScene scene;
    CommandRun qvadmin;
};

// Names a parameterised test's road: the token's card on pcscd (the flash library's) or not (the
// PKCS#11 module's).
inline std::string roadName(const testing::TestParamInfo<bool>& info)
{
    return info.param ? "Plugged" : "Unplugged";
}
