#include "CardSlot.h"

#include "VpcdLink.h"

#include <qvtoken-core/Errors.h>

#include <filesystem>
#include <iostream>

namespace qvcard {
namespace {

constexpr std::chrono::milliseconds pollStep{50};
constexpr std::chrono::milliseconds reconnectDelay{200};
// A restarting token answers the reset of access rights that may follow its 9000, then goes.
constexpr std::chrono::milliseconds leaveGrace{100};
// Long enough for two presence polls of pcscd, so the removal is seen.
constexpr std::chrono::milliseconds replugAway{1000};
constexpr long awayForGood = -1;
const Bytes resetAccessRights{0x80, 0x40, 0x00, 0x00};

} // namespace

CardSlot::CardSlot(qvtoken::TokenStore& store, std::uint64_t serial, std::uint16_t port, unsigned long generation)
    : serial_(serial), port_(port), generation_(generation),
      application_(store, serial, ApduLog(store.directory() / (std::to_string(serial) + ".apdu.log"))),
      thread_([this] { run(); })
{
}

CardSlot::~CardSlot()
{
    stopping_ = true;
    thread_.join();
}

void CardSlot::replug(unsigned long generation)
{
    generation_ = generation;
    replugRequested_ = true;
}

bool CardSlot::sleepFor(std::chrono::milliseconds duration)
{
    const auto until = std::chrono::steady_clock::now() + duration;
    while (!stopping_ && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(pollStep);
    }
    return !stopping_;
}

void CardSlot::run()
{
    comesBackReplugged_ = false;
    while (!stopping_) {
        try {
            long away = 0;
            // The token has re-enumerated before its card shows up again.
            if (comesBackReplugged_) {
                generation_ = application_.replug();
                comesBackReplugged_ = false;
            }
            {
                VpcdLink link(port_);
                if (application_.attach().empty()) {
                    tokenGone_ = true;
                    break;
                }
                away = serve(link);
            }
            // The socket is closed now: vpcd reports the card removed at pcscd's next poll.
            if (away == awayForGood) {
                break;
            }
            sleepFor(std::chrono::milliseconds(away));
        } catch (const VpcdError&) {
            sleepFor(reconnectDelay);
        } catch (const qvtoken::TokenNotFoundError&) {
            // Deleted while plugged: the card is gone with it.
            tokenGone_ = true;
            break;
        } catch (const std::exception& error) {
            std::cerr << "qvtoken-card: token " << serial_ << ": " << error.what() << '\n';
            sleepFor(reconnectDelay);
        }
    }
    finished_ = true;
}

long CardSlot::serve(VpcdLink& link)
{
    comesBackReplugged_ = true;
    while (!stopping_) {
        if (replugRequested_.exchange(false)) {
            // The replug already cleared what it clears; coming back is a plain reconnect.
            comesBackReplugged_ = false;
            return replugAway.count();
        }
        const auto message = link.receive(pollStep);
        if (!message || message->empty()) {
            continue;
        }
        const Exchange out =
            message->size() == 1 ? application_.control((*message)[0]) : application_.command(*message);
        if (out.close) {
            return out.never ? awayForGood : static_cast<long>(out.away.count());
        }
        if (out.delay.count() > 0) {
            std::this_thread::sleep_for(out.delay);
        }
        // A held answer goes once its file is gone (or cannot be looked at); a removed card
        // stops holding.
        std::error_code unseen;
        while (!out.heldWhile.empty() && !stopping_ && std::filesystem::exists(out.heldWhile, unseen)) {
            std::this_thread::sleep_for(pollStep);
        }
        if (!out.reply.empty()) {
            link.send(out.reply);
        }
        if (out.leaveBus) {
            const auto next = link.receive(leaveGrace);
            if (next && *next == resetAccessRights) {
                link.send(application_.command(*next).reply);
            }
            return out.never ? awayForGood : static_cast<long>(out.away.count());
        }
    }
    return awayForGood;
}

} // namespace qvcard
