#include "TokenScene.h"

#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace {

constexpr unsigned long kFirstSlot = 20;

std::string quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

TokenScene::TokenScene()
{
    if (std::getenv("QVTOKEN_STATE_DIR") == nullptr || std::getenv("PCSCLITE_CSOCK_NAME") == nullptr) {
        throw std::runtime_error("token scenes run under the cards fixture");
    }
}

TokenScene::~TokenScene()
{
    // The cards leave pcscd before their tokens go, so the next test meets a quiet bus.
    if (!plugged.empty()) {
        std::string command = quote(QVTOKEN_PATH) + " unplug --wait";
        for (const auto serial : plugged) {
            command += " " + std::to_string(serial);
        }
        if (std::system((command + " >/dev/null").c_str()) != 0) {
            ADD_FAILURE() << "cards did not leave pcscd";
        }
    }
    qvtoken::TokenStore store;
    for (const auto serial : added) {
        try {
            store.remove(serial);
        } catch (...) {
        }
    }
}

std::uint64_t TokenScene::add(std::uint64_t serial, bool plugged, const Change& change)
{
    auto token = qvtoken::makePreset("full");
    token.serial = serial;
    qvtoken::placeInSlot(token, kFirstSlot + added.size());
    // Plugged in only below, so that the wait covers the card's arrival.
    token.card.plugged = false;
    if (change) {
        change(token);
    }
    qvtoken::TokenStore().create(token);
    added.push_back(serial);
    if (plugged) {
        const std::string command = quote(QVTOKEN_PATH) + " plug --wait " + std::to_string(serial) + " >/dev/null";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("the card of token " + std::to_string(serial) + " did not come up");
        }
        this->plugged.push_back(serial);
    }
    return serial;
}

qvtoken::TokenState TokenScene::load(std::uint64_t serial) const
{
    return qvtoken::TokenStore().load(serial).value();
}

std::string TokenScene::pinText(const qvtoken::PinState& pin)
{
    return std::string(pin.value.begin(), pin.value.end());
}
