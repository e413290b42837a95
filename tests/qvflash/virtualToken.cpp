// Plugs a virtual token in for the C test program of the exported functions
// and pulls it out again: `add SERIAL` or `remove SERIAL`, in the state
// directory of the card fixture (QVTOKEN_STATE_DIR).
#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qvflash-virtual-token add|remove SERIAL\n";
        return 2;
    }
    try {
        const std::string action = argv[1];
        const std::uint64_t serial = std::stoull(argv[2]);
        qvtoken::TokenStore store;
        if (action == "add") {
            qvtoken::TokenState token = qvtoken::makePreset("full");
            token.serial = serial;
            token.slotId = serial;
            token.card.plugged = true;
            store.create(token);
        } else if (action == "remove") {
            store.remove(serial);
        } else {
            std::cerr << "qvflash-virtual-token: unknown action " << action << "\n";
            return 2;
        }
    } catch (const std::exception& failure) {
        std::cerr << "qvflash-virtual-token: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
