#include "TokenScene.h"

#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr unsigned long kFirstSlot = 20;

// qvtoken plug or unplug, waiting until pcscd shows the change.
bool moveCards(const char* move, const std::vector<std::uint64_t>& serials)
{
    std::vector<std::string> words{QVTOKEN_PATH, move, "--wait"};
    for (const auto serial : serials) {
        words.push_back(std::to_string(serial));
    }
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        execv(QVTOKEN_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    if (!plugged.empty() && !moveCards("unplug", plugged)) {
        ADD_FAILURE() << "cards did not leave pcscd";
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
    if (change) {
        change(token);
    }
    return create(std::move(token), plugged);
}

std::uint64_t TokenScene::addPreset(const std::string& preset, bool plugged)
{
    return create(qvtoken::makePreset(preset), plugged);
}

std::uint64_t TokenScene::create(qvtoken::TokenState token, bool plugged)
{
    const auto serial = token.serial;
    qvtoken::placeInSlot(token, kFirstSlot + added.size());
    // Plugged in only below, so that the wait covers the card's arrival.
    token.card.plugged = false;
    qvtoken::TokenStore().create(token);
    added.push_back(serial);
    if (plugged) {
        if (!moveCards("plug", {serial})) {
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

bool TokenScene::holdAnswer(std::uint64_t serial, const std::string& ins, const std::string& hold) const
{
    std::ofstream(hold).close();
    return std::system((std::string(QVTOKEN_PATH) + " card-fault " + std::to_string(serial) + " hold '" + hold +
                        "' --ins " + ins + " >/dev/null")
                           .c_str()) == 0;
}

std::string TokenScene::cardLog(std::uint64_t serial) const
{
    std::ifstream in(qvtoken::TokenStore().directory() / (std::to_string(serial) + ".apdu.log"));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TokenScene::pinText(const qvtoken::PinState& pin)
{
    return std::string(pin.value.begin(), pin.value.end());
}
