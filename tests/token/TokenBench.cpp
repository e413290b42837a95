// Cost of the tool's token through the stand-in module and virtual cards on pcscd: getTokens
// with 1 and 8 plugged tokens (wall time, module calls, and the APDUs the cards received: none,
// the flash token list waits for an operation that needs it), then per operation the module
// calls in order and the APDUs the card received, on a token of each road (the first operation
// of the flash road that asks for the flash token also reads the list and opens the handle). Run by scripts/bench-token
// under scripts/with-cards.
#include "pkcs11/Pkcs11.h"
#include "token/AnyTokenFilter.h"
#include "token/SingleTokenFilter.h"
#include "token/TokenManager.h"

#include <PcscTestClient.h>
#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const std::string kAdmin = qvtoken::defaultAdminPin;
const std::string kUser = qvtoken::defaultUserPin;

std::string stateFile(const std::string& name)
{
    return std::string(std::getenv("QVTOKEN_STATE_DIR")) + "/" + name;
}
const std::string kTrace = stateFile("../token-bench.trace");

std::vector<std::string> readLines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Both logs start empty.
void clearLogs(const std::vector<std::uint64_t>& serials)
{
    std::ofstream(kTrace, std::ios::trunc);
    for (const auto serial : serials) {
        std::ofstream(stateFile(std::to_string(serial) + ".apdu.log"), std::ios::trunc);
    }
}

std::size_t apduCount(const std::vector<std::uint64_t>& serials)
{
    std::size_t count = 0;
    for (const auto serial : serials) {
        const auto lines = readLines(stateFile(std::to_string(serial) + ".apdu.log"));
        count += std::count_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.find(" -> ") != std::string::npos; });
    }
    return count;
}

// The module entries called, in order, without their arguments.
std::string calls()
{
    std::string names;
    for (const auto& line : readLines(kTrace)) {
        names += (names.empty() ? "" : " ") + line.substr(0, line.find(' '));
    }
    return names.empty() ? "(none)" : names;
}

std::vector<std::uint64_t> plug(qvtoken::TokenStore& store, qvcardtest::PcscTestClient& client, const char* preset,
                                std::uint64_t first, unsigned count, bool plugged)
{
    std::vector<std::uint64_t> serials;
    for (unsigned i = 0; i < count; ++i) {
        auto token = qvtoken::makePreset(preset);
        token.serial = first + i;
        qvtoken::placeInSlot(token, (first / 1000 - 72) * 10 + i + 1);
        token.card.plugged = plugged;
        token.card.awayMs = 100;
        store.create(token);
        serials.push_back(token.serial);
        if (plugged && client.waitForToken(token.serial, std::chrono::seconds(10)).empty()) {
            std::fprintf(stderr, "token %llu did not come up\n", static_cast<unsigned long long>(token.serial));
            std::exit(1);
        }
        client.disconnect();
    }
    return serials;
}

void unplug(qvtoken::TokenStore& store, const std::vector<std::uint64_t>& serials)
{
    for (const auto serial : serials) {
        store.remove(serial);
    }
}

void benchGetTokens(qvtoken::TokenStore& store, qvcardtest::PcscTestClient& client, unsigned count)
{
    const auto serials = plug(store, client, "full", 72000, count, true);
    {
        quorvik::pkcs11::Pkcs11 module(nullptr);
        TokenManager manager(module);
        manager.setFilter(std::make_shared<AnyTokenFilter>());
        std::vector<double> times;
        std::string firstCalls;
        for (int round = 0; round < 7; ++round) {
            firstCalls = round == 1 ? calls() : firstCalls;
            clearLogs(serials);
            const auto start = Clock::now();
            const auto tokens = manager.getTokens();
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        std::printf("getTokens, %u plugged: median %.1f ms (min %.1f) of 7; APDUs: %zu (%zu per card)\n", count,
                    times[times.size() / 2], times.front(), apduCount(serials), apduCount(serials) / count);
        std::printf("  module calls, first: %s\n  module calls, later: %s\n", firstCalls.c_str(), calls().c_str());
    }
    unplug(store, serials);
}

void benchOperations(const char* road, Token& token, const std::vector<std::uint64_t>& serials,
                     const std::vector<std::pair<const char*, std::function<void(Token&)>>>& operations)
{
    std::printf("\n== %s road\n", road);
    for (const auto& [name, operation] : operations) {
        clearLogs(serials);
        std::string error;
        try {
            operation(token);
        } catch (const std::exception& failure) {
            error = std::string(" FAILED: ") + failure.what();
        }
        std::printf("%-22s APDUs %3zu | %s%s\n", name, apduCount(serials), calls().c_str(), error.c_str());
    }
}

} // namespace

int main()
{
    setenv("QVSTANDIN_TRACE", kTrace.c_str(), 1);
    qvtoken::TokenStore store;
    qvcardtest::PcscTestClient client;
    for (const unsigned count : {1U, 8U}) {
        benchGetTokens(store, client, count);
    }

    const auto pkcsSerials = plug(store, client, "module-drive", 73000, 1, false);
    const auto flashSerials = plug(store, client, "full", 74000, 1, true);
    quorvik::pkcs11::Pkcs11 module(nullptr);
    TokenManager manager(module);
    const auto tokenOf = [&](std::uint64_t serial) {
        manager.setFilter(std::make_shared<SingleTokenFilter>(serial));
        return manager.getTokens().at(0);
    };
    const VolumeParams userVolume{100, AccessMode::ReadWrite, {VolumeOwner(UserType::User)}, SectionType::UserFiles};
    const std::vector<std::pair<const char*, std::function<void(Token&)>>> common{
        {"getInfo", [](Token& t) { t.getInfo(); }},
        {"getUserPinPolicy", [](Token& t) { t.getUserPinPolicy(); }},
        {"getTouchSettings", [](Token& t) { t.getTouchSettings(); }},
        {"getDriveInfo", [](Token& t) { t.getDriveInfo(); }},
        {"setSoPin",
         [](Token& t) {
             t.setSoPin({kAdmin, kAdmin});
         }},
        {"setUserPin as user",
         [](Token& t) {
             t.setUserPin({UserType::User, kUser, kUser});
         }},
        {"setLabel", [](Token& t) { t.setLabel(kUser, "Bench"); }},
        {"setUserPinPolicy",
         [](Token& t) {
             t.setUserPinPolicy(kAdmin, PinPolicy{true, true, true, false, false, false, false, false, 6, 0});
         }},
        {"setTouchSettings",
         [](Token& t) {
             t.setTouchSettings(kAdmin, TouchSettings{TouchMode::Discrete, 10, 30});
         }},
        {"unblockPins", [](Token& t) { t.unblockPins(kAdmin); }},
        {"formatDrive",
         [&](Token& t) {
             t.formatDrive({kAdmin, {userVolume}});
         }},
        {"setVolumeAccessMode",
         [](Token& t) {
             t.setVolumeAccessMode({kUser, AccessMode::ReadOnly, 1, true});
         }},
        {"format",
         [](Token& t) {
             t.format({kAdmin, kAdmin, kUser, "Bench", 6, 6, 10, 10, false, PinChangePolicy::User});
         }},
    };
    auto pkcs = tokenOf(pkcsSerials.front());
    benchOperations("PKCS#11", pkcs, pkcsSerials, common);
    auto operations = common;
    operations.pop_back();
    std::uint16_t local = 0;
    std::uint16_t mva = 0;
    operations.insert(operations.end(), {{"createLocalPin",
                                          [&](Token& t) {
                                              local = t.createLocalPin({kUser, "24682468"}).get();
                                          }},
                                         {"setLocalPin",
                                          [&](Token& t) {
                                              t.setLocalPin(LocalUserId(local), {"24682468", "13571357"});
                                          }},
                                         {"createMva",
                                          [&](Token& t) {
                                              mva = t.createMva(kAdmin, {2, 16, 5}).get();
                                          }},
                                         {"addSnapshotToMva",
                                          [&](Token& t) {
                                              t.addSnapshotToMva(kAdmin, {mva, std::vector<std::uint8_t>(16, 'h')});
                                          }},
                                         {"clearMva", [&](Token& t) { t.clearMva(kAdmin, mva); }},
                                         common.back()});
    auto flash = tokenOf(flashSerials.front());
    benchOperations("flash", flash, flashSerials, operations);
    unplug(store, pkcsSerials);
    unplug(store, flashSerials);
}
