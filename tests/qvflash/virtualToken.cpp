// Plugs a virtual token in for the C test program of the exported functions
// and pulls it out again: `add SERIAL` or `remove SERIAL`, in the state
// directory of the card fixture (QVTOKEN_STATE_DIR). `stray-mva SERIAL` puts
// an MVA file with the id 40, outside the range of local ids, into the
// token's local-login directory; `drop-local-pin SERIAL` takes the local PIN
// with the id 3 out of it.
#include <qvtoken-core/Errors.h>
#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: qvflash-virtual-token add|stray-mva|drop-local-pin|remove SERIAL\n";
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
            // The scenario partitions the drive itself.
            token.drive.sections.clear();
            token.drive.sizeMb = 4096;
            store.create(token);
        } else if (action == "stray-mva") {
            store.modify(serial, [](qvtoken::TokenState& token) {
                qvtoken::MvaFile stray;
                stray.id = 40;
                stray.recordSize = 10;
                stray.maxRecords = 2;
                token.directory.push_back(stray);
            });
        } else if (action == "drop-local-pin") {
            store.modify(serial, [](qvtoken::TokenState& token) {
                auto& directory = token.directory;
                for (auto entry = directory.begin(); entry != directory.end(); ++entry) {
                    if (qvtoken::entryId(*entry) == 3) {
                        directory.erase(entry);
                        break;
                    }
                }
            });
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
