#include "pin/generatePin.h"
#include "pin/charsSets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using CharsSet = PinGenSettingsElement::CharsSet;

// Why `pin` is not a valid result of generatePin(length, sets), or "" when it is.
std::string fault(const std::string& pin, std::size_t length, const std::set<CharsSet>& sets)
{
    std::string allowed;
    for (const auto& [set, alphabet] : charsSets) {
        if (sets.empty() || sets.count(set) != 0) {
            if (pin.find_first_of(alphabet.data(), 0, alphabet.size()) == std::string::npos) {
                return "no character of set " + std::to_string(static_cast<int>(set));
            }
            allowed += alphabet;
        }
    }
    const std::size_t expectedLength = std::max({length, sets.empty() ? 4 : sets.size(), std::size_t{2}});
    if (pin.size() != expectedLength) {
        return "length " + std::to_string(pin.size());
    }
    if (pin.find_first_not_of(allowed) != std::string::npos) {
        return "a character from outside the selected sets";
    }
    if (pin.find_first_not_of(pin[0]) == std::string::npos) {
        return "one repeated character";
    }
    return "";
}

TEST(GeneratePinTest, EveryDrawHoldsItsSetsAndLength)
{
    const std::pair<std::size_t, std::set<CharsSet>> cases[] = {
        {0, {}},
        {6, {CharsSet::Digits}},
        {2, {CharsSet::Digits}},
        {1, {CharsSet::LowerLetters, CharsSet::Digits}},
        {0, {CharsSet::SpecChars}},
        {1, {CharsSet::UpperLetters}},
        {32, {CharsSet::UpperLetters, CharsSet::SpecChars}},
    };
    for (const auto& [length, sets] : cases) {
        for (int draw = 0; draw < 2000; ++draw) {
            const auto pin = generatePin(length, sets);
            ASSERT_EQ(fault(pin, length, sets), "") << pin << " (length " << length << ")";
            ASSERT_EQ(pin.find_first_of("0OoIl"), std::string::npos) << pin;
        }
    }
}

TEST(GeneratePinTest, MandatoryCharactersDoNotStayInSetOrder)
{
    // Without the shuffle the first character would always be the lower-case letter.
    std::set<char> firstKinds;
    for (int draw = 0; draw < 200; ++draw) {
        const auto pin = generatePin(0, {});
        firstKinds.insert(std::islower(static_cast<unsigned char>(pin[0])) ? 'l' : 'x');
    }
    EXPECT_EQ(firstKinds.size(), 2u);
}

TEST(GeneratePinTest, ConcurrentCallersAllGetValidPins)
{
    std::vector<std::vector<std::string>> pins(8);
    std::vector<std::thread> threads;
    for (auto& own : pins) {
        threads.emplace_back([&own] {
            for (int i = 0; i < 1000; ++i) {
                own.push_back(generatePin(8, {}));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::set<std::string> distinct;
    for (const auto& own : pins) {
        for (const auto& pin : own) {
            ASSERT_EQ(fault(pin, 8, {}), "") << pin;
            distinct.insert(pin);
        }
    }
    // 8000 draws from about 10^14 possible PINs: a repeat means shared or replayed state.
    EXPECT_EQ(distinct.size(), 8000u);
}

std::string runPrinter()
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(QV_PIN_PRINTER, "r"), pclose);
    std::array<char, 64> line{};
    if (!pipe || !fgets(line.data(), line.size(), pipe.get())) {
        return "";
    }
    return line.data();
}

TEST(GeneratePinTest, RunsStartedTogetherGenerateDifferentPins)
{
    const auto first = runPrinter();
    const auto second = runPrinter();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
}

} // namespace
