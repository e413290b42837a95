// The vpcd side of a card slot against a fake vpcd: framing, control bytes, leaving the bus.
#include "CardSlot.h"

#include <qvtoken-core/TokenPresets.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvcard {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

// Listens like vpcd does on one slot port and speaks its framing.
class FakeVpcd {
public:
    FakeVpcd()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~FakeVpcd()
    {
        dropCard();
        ::close(listener_);
    }

    std::uint16_t port() const { return port_; }
    bool acceptCard(milliseconds timeout)
    {
        pollfd pfd{listener_, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(timeout.count())) != 1) {
            return false;
        }
        card_ = ::accept(listener_, nullptr, nullptr);
        return card_ >= 0;
    }
    void dropCard()
    {
        if (card_ >= 0) {
            ::close(card_);
            card_ = -1;
        }
    }
    void send(const Bytes& message)
    {
        Bytes frame{static_cast<std::uint8_t>(message.size() >> 8), static_cast<std::uint8_t>(message.size())};
        frame.insert(frame.end(), message.begin(), message.end());
        ASSERT_EQ(::write(card_, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    }
    // The card's next message; empty when the card closed the connection.
    Bytes receive()
    {
        std::uint8_t header[2];
        if (::recv(card_, header, 2, MSG_WAITALL) != 2) {
            return {};
        }
        Bytes message(static_cast<std::size_t>(header[0] << 8 | header[1]));
        if (!message.empty() && ::recv(card_, message.data(), message.size(), MSG_WAITALL) <= 0) {
            return {};
        }
        return message;
    }
    // Whether the card sent something (or closed the connection) within the timeout.
    bool answers(milliseconds timeout)
    {
        pollfd pfd{card_, POLLIN, 0};
        return ::poll(&pfd, 1, static_cast<int>(timeout.count())) == 1;
    }
    bool cardClosed(milliseconds timeout)
    {
        pollfd pfd{card_, POLLIN, 0};
        std::uint8_t byte;
        return ::poll(&pfd, 1, static_cast<int>(timeout.count())) == 1 && ::recv(card_, &byte, 1, 0) == 0;
    }

private:
    int listener_ = -1;
    int card_ = -1;
    std::uint16_t port_ = 0;
};

class CardSlotOnVpcd : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dir);
        qvtoken::TokenState token = qvtoken::makePreset("bare");
        token.serial = 258;
        token.card.awayMs = 900;
        store.create(token);
    }
    void TearDown() override { fs::remove_all(dir); }

    const fs::path dir =
        fs::path(::testing::TempDir()) / ("qvcard-slot-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    qvtoken::TokenStore store{dir};
    FakeVpcd vpcd;
};

TEST_F(CardSlotOnVpcd, AnswersFramesAndKeepsStateOverPresencePolls)
{
    CardSlot slot(store, 258, vpcd.port(), 0);
    ASSERT_TRUE(vpcd.acceptCard(2s));
    vpcd.send({0x01});
    vpcd.send({0x04});
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "3B 8C 80 01 51 75 6F 72 76 69 6B 5A 52 4E 73 63 16");
    vpcd.send(fromHex("00 20 00 01 08 35 39 33 30 32 38 31 34"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "90 00");
    // A presence poll leaves the admin right; a warm reset takes it.
    vpcd.send({0x04});
    vpcd.receive();
    vpcd.send(fromHex("00 2C 03 02"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "90 00");
    vpcd.send({0x02});
    vpcd.send(fromHex("00 2C 03 02"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "69 82");
    // A message too short for an APDU still gets a status word, never an empty answer.
    vpcd.send(fromHex("00 CA"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "67 00");
}

TEST_F(CardSlotOnVpcd, RestartLeavesQuicklyAndReturnsAfterTheAwayTime)
{
    CardSlot slot(store, 258, vpcd.port(), 0);
    ASSERT_TRUE(vpcd.acceptCard(2s));
    vpcd.send(fromHex("80 53 14 00"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "90 00");
    const auto answered = steady_clock::now();
    vpcd.send(fromHex("80 40 00 00"));
    EXPECT_EQ(toSpacedHex(vpcd.receive()), "90 00");
    EXPECT_TRUE(vpcd.cardClosed(500ms));
    EXPECT_LT(steady_clock::now() - answered, 300ms);
    vpcd.dropCard();
    ASSERT_TRUE(vpcd.acceptCard(3s));
    EXPECT_GT(steady_clock::now() - answered, 800ms);
    EXPECT_EQ(store.load(258)->card.plugGeneration, 1u);
}

// A held answer waits for its file to go, and a card that is removed meanwhile stops holding.
TEST_F(CardSlotOnVpcd, AHeldAnswerGoesOnceItsFileIsGone)
{
    const fs::path held = dir / "held";
    std::ofstream(held).close();
    store.modify(258, [&](qvtoken::TokenState& token) {
        qvtoken::CardFault hold;
        hold.ins = 0xCA, hold.action = "hold", hold.argument = held.string(), hold.count = -1;
        token.cardFaults.push_back(hold);
    });
    {
        CardSlot slot(store, 258, vpcd.port(), 0);
        ASSERT_TRUE(vpcd.acceptCard(2s));
        vpcd.send(fromHex("00 CA 01 81 08"));
        EXPECT_FALSE(vpcd.answers(300ms));
        fs::remove(held);
        EXPECT_EQ(toSpacedHex(vpcd.receive()), "00 00 00 00 00 00 01 02 90 00");
        std::ofstream(held).close();
        vpcd.send(fromHex("00 CA 01 81 08"));
        EXPECT_FALSE(vpcd.answers(300ms));
    }
    vpcd.dropCard();
}

} // namespace
} // namespace qvcard
