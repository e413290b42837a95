#pragma once

#include <qvtoken-core/TokenState.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Virtual tokens in the cards fixture's state directory (QVTOKEN_STATE_DIR) for one test, all
// removed when it ends. A plugged token's card is on pcscd before add returns, so the program
// finds it through the flash library; an unplugged token is seen only by the PKCS#11 module.
class TokenScene {
public:
    using Change = std::function<void(qvtoken::TokenState&)>;

    TokenScene();
    ~TokenScene();
    TokenScene(const TokenScene&) = delete;
    TokenScene& operator=(const TokenScene&) = delete;

    // A token of preset `full` (admin PIN 59302814, user PIN 40417263) in the next free slot.
    std::uint64_t add(std::uint64_t serial, bool plugged, const Change& change = {});
    // A token of the named preset, under the preset's own serial number.
    std::uint64_t addPreset(const std::string& preset, bool plugged);
    qvtoken::TokenState load(std::uint64_t serial) const;
    // Makes `hold` and has the token's card carry out the next command of instruction byte `ins`
    // (hex) but keep its answer back until `hold` is gone; false when the rule was not set.
    bool holdAnswer(std::uint64_t serial, const std::string& ins, const std::string& hold) const;
    // What the token's card was sent and answered so far (qvtoken-card's log beside its file).
    std::string cardLog(std::uint64_t serial) const;
    // The serials added so far, in the order of their slots.
    const std::vector<std::uint64_t>& serials() const { return added; }

    static std::string pinText(const qvtoken::PinState& pin);

private:
    std::uint64_t create(qvtoken::TokenState token, bool plugged);

    std::vector<std::uint64_t> added;
    std::vector<std::uint64_t> plugged;
};
