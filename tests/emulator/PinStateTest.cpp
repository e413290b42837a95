#include <qvtoken-core/PinState.h>

#include <gtest/gtest.h>

#include <string>

using qvtoken::PinCheck;
using qvtoken::PinState;

namespace {

PinCheck tryPin(PinState& pin, const std::string& value)
{
    return pin.verify(reinterpret_cast<const unsigned char*>(value.data()), value.size());
}

PinState threeTries()
{
    PinState pin;
    pin.value = qvtoken::bytesOf("123456");
    pin.maxTries = pin.triesLeft = 3;
    return pin;
}

} // namespace

TEST(PinState, WrongTriesCountDownToBlockedAndTheRightPinThenStaysRefused)
{
    PinState pin = threeTries();
    EXPECT_EQ(tryPin(pin, "654321"), PinCheck::incorrect);
    EXPECT_EQ(pin.triesLeft, 2u);
    EXPECT_EQ(tryPin(pin, "12345"), PinCheck::incorrect); // a prefix is wrong too
    EXPECT_EQ(tryPin(pin, ""), PinCheck::incorrect);      // the try that reaches 0
    EXPECT_EQ(pin.triesLeft, 0u);
    EXPECT_EQ(tryPin(pin, "123456"), PinCheck::locked);
    EXPECT_EQ(pin.triesLeft, 0u);
    pin.unblock();
    EXPECT_EQ(tryPin(pin, "123456"), PinCheck::ok);
}

TEST(PinState, RightPinRestoresTheCounter)
{
    PinState pin = threeTries();
    tryPin(pin, "000000");
    tryPin(pin, "000000");
    EXPECT_EQ(tryPin(pin, "123456"), PinCheck::ok);
    EXPECT_EQ(pin.triesLeft, 3u);
    EXPECT_EQ(pin.verify(nullptr, 6), PinCheck::incorrect);
}
