#include "CardWatch.h"
#include "ToolArguments.h"
#include "ToolCommand.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace qvtoken::tool {

namespace {

constexpr unsigned long long defaultWaitMs = 10000;

struct PlugArguments {
    std::vector<std::uint64_t> serials;
    // With --wait: how long the command waits for pcscd.
    std::optional<std::chrono::milliseconds> wait;
};

PlugArguments plugArguments(const std::vector<std::string>& words)
{
    const ToolArguments args(words, {"wait"}, {"timeout-ms"});
    if (args.positionals().empty())
        throw UsageError("A token serial is required.");
    PlugArguments parsed;
    for (const auto& word : args.positionals())
        parsed.serials.push_back(parseNumber(word, "serial"));
    const auto timeout = args.numberOption("timeout-ms");
    if (timeout && !args.flag("wait"))
        throw UsageError("--timeout-ms goes with --wait.");
    if (args.flag("wait"))
        parsed.wait = std::chrono::milliseconds(timeout.value_or(defaultWaitMs));
    return parsed;
}

// Waits until pcscd shows every token's card (or none of them), within one shared deadline.
void waitForCards(const PlugArguments& args, bool present)
{
    if (!args.wait)
        return;
    const auto deadline = std::chrono::steady_clock::now() + *args.wait;
    CardWatch watch;
    for (const auto serial : args.serials) {
        if (!watch.waitUntil(serial, present, deadline))
            throw std::runtime_error("the card of token " + std::to_string(serial) +
                                     (present ? " did not appear" : " did not leave") + " in pcscd within " +
                                     std::to_string(args.wait->count()) + " ms");
    }
}

} // namespace

// A running qvtoken-card sees the change within its next scan of the state directory.
int runPlug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const PlugArguments args = plugArguments(words);
    for (const auto serial : args.serials) {
        store.modify(serial, [](TokenState& token) {
            if (token.card.plugged)
                return;
            token.card.plugged = true;
            token.replug();
        });
        out << "plugged " << serial << '\n';
    }
    waitForCards(args, true);
    return 0;
}

int runUnplug(TokenStore& store, const std::vector<std::string>& words, std::ostream& out)
{
    const PlugArguments args = plugArguments(words);
    for (const auto serial : args.serials) {
        store.modify(serial, [](TokenState& token) { token.card.plugged = false; });
        out << "unplugged " << serial << '\n';
    }
    waitForCards(args, false);
    return 0;
}

} // namespace qvtoken::tool
