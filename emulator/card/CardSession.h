#pragma once

#include "Bytes.h"

#include <cstdint>
#include <optional>
#include <set>

namespace qvcard {

// The card's volatile state for one power-up: what a real card keeps in RAM and loses on
// reset, power-down or when it leaves the bus.
struct CardSession {
    // Levels of the fixed path MF / 1000 / 1000 / 6005.
    enum class Df { mf, outer, inner, logins };

    bool adminVerified = false;
    bool userVerified = false;
    // Local ids 3..31 verified, local PINs and MVA files alike.
    std::set<unsigned long> localVerified;

    Df currentDf = Df::mf;
    std::optional<unsigned long> currentEf;

    // Answer bytes still to be fetched with GET RESPONSE, and the status word that ends them.
    Bytes pending;
    std::uint16_t pendingSw = 0x9000;
    bool hasPending = false;

    // Journal stream gathered from chained PUT DATA commands.
    bool chainOpen = false;
    std::size_t chainTotal = 0;
    Bytes chainStream;

    // Local-PIN files created in this session whose PIN is still unset: they accept their
    // first value without any verified right.
    std::set<unsigned long> createdUnset;

    void dropRights()
    {
        adminVerified = false;
        userVerified = false;
        localVerified.clear();
    }
};

} // namespace qvcard
