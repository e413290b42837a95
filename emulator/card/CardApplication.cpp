#include "CardApplication.h"

#include "Atr.h"
#include "CommandDispatcher.h"
#include "FaultRules.h"
#include "ResponseDelivery.h"

#include <qvtoken-core/Errors.h>

#include <algorithm>
#include <iostream>

namespace qvcard {
namespace {

constexpr std::uint8_t getAtr = 0x04;
constexpr std::uint8_t getResponseIns = 0xC0;
// ISO 7816-4 "no precise diagnosis": the card cannot read its own state.
constexpr std::uint16_t noDiagnosis = 0x6F00;

Bytes statusOnly(std::uint16_t statusWord)
{
    return {static_cast<std::uint8_t>(statusWord >> 8), static_cast<std::uint8_t>(statusWord)};
}

// A pulled-out card comes back after the rule's delay in ms, or never.
void setAway(Exchange& out, const std::string& argument)
{
    out.never = argument.empty() || argument == "never";
    out.away = std::chrono::milliseconds(out.never ? 0 : std::stoul(argument));
}

} // namespace

CardApplication::CardApplication(qvtoken::TokenStore& store, std::uint64_t serial, ApduLog log)
    : store_(store), serial_(serial), log_(std::move(log))
{
}

Bytes CardApplication::attach()
{
    session_ = CardSession{};
    const auto token = store_.load(serial_);
    atr_ = token ? buildAtr(token->card) : Bytes{};
    return atr_;
}

unsigned long CardApplication::replug()
{
    session_ = CardSession{};
    return store_.modify(serial_, [](qvtoken::TokenState& token) { token.replug(); }).card.plugGeneration;
}

Exchange CardApplication::control(std::uint8_t code)
{
    Exchange out;
    std::optional<qvtoken::CardFault> fault;
    try {
        // Presence polls come every 400 ms per card: only a token with control rules is
        // locked and written.
        const auto token = store_.load(serial_);
        if (!token) {
            out.close = true;
            return out;
        }
        const auto& rules = token->cardFaults;
        if (std::any_of(rules.begin(), rules.end(), [](const auto& rule) { return rule.control.has_value(); })) {
            store_.modify(serial_, [&](qvtoken::TokenState& state) { fault = takeFault(state, {code}); });
        }
    } catch (const qvtoken::TokenNotFoundError&) {
        out.close = true;
        return out;
    }
    if (code != getAtr) {
        log_.control(code);
        // Power and reset messages wipe what the card keeps in RAM; presence polls do not.
        session_ = CardSession{};
    }
    if (fault) {
        if (fault->action == "close") {
            log_.note({code}, "closed by fault rule");
            out.close = true;
            setAway(out, fault->argument);
            return out;
        }
        if (fault->action == "delay") {
            out.delay = std::chrono::milliseconds(std::stoul(fault->argument));
        } else if (fault->action == "hold") {
            out.heldWhile = fault->argument;
        } else if (fault->action == "reply" && code == getAtr) {
            out.reply = fromHex(fault->argument);
        }
    }
    if (code == getAtr && out.reply.empty()) {
        out.reply = atr_;
    }
    return out;
}

Exchange CardApplication::command(const Bytes& raw)
{
    Exchange out;
    try {
        store_.modify(serial_, [&](qvtoken::TokenState& token) {
            out = Exchange{};
            const auto fault = takeFault(token, raw);
            if (fault) {
                out = applyFault(*fault, raw, token);
            } else {
                out.reply = process(raw, token, 0, out.leaveBus);
            }
            if (out.leaveBus) {
                out.away = std::chrono::milliseconds(token.card.awayMs);
            }
        });
    } catch (const qvtoken::TokenNotFoundError&) {
        out = Exchange{};
        out.close = true;
    } catch (const qvtoken::StateError& error) {
        std::cerr << "qvtoken-card: " << error.what() << '\n';
        out = Exchange{};
        out.reply = statusOnly(noDiagnosis);
    } catch (const std::logic_error&) {
        std::cerr << "qvtoken-card: token " << serial_ << " has a fault rule with a malformed argument\n";
        out = Exchange{};
        out.reply = statusOnly(noDiagnosis);
    }
    if (out.close) {
        log_.note(raw, "connection dropped");
    } else {
        log_.exchange(raw, out.reply);
    }
    return out;
}

Exchange CardApplication::applyFault(const qvtoken::CardFault& fault, const Bytes& raw, qvtoken::TokenState& token)
{
    Exchange out;
    const std::string& action = fault.action;
    const std::string& argument = fault.argument;
    if (action == "reply") {
        out.reply = fromHex(argument);
    } else if (action == "sw") {
        out.reply = fromHex(argument);
        out.reply.resize(2);
    } else if (action == "6C") {
        out.reply = {0x6C, fromHex(argument).at(0)};
    } else if (action == "close") {
        out.close = true;
        setAway(out, argument);
    } else {
        const std::size_t chunk = action == "61-chunk" ? std::stoul(argument) : 0;
        out.reply = process(raw, token, chunk, out.leaveBus);
        if (action == "delay") {
            out.delay = std::chrono::milliseconds(std::stoul(argument));
        } else if (action == "hold") {
            out.heldWhile = argument;
        } else if (action == "no-replug") {
            out.never = out.leaveBus;
        } else if (action == "replug-serial" && out.leaveBus) {
            reportSerial(std::stoull(argument));
        }
    }
    if (out.reply.empty() && !out.close) {
        // An empty answer would read as the card leaving; a rule cannot ask for that by mistake.
        out.close = true;
    }
    return out;
}

Bytes CardApplication::process(const Bytes& raw, qvtoken::TokenState& token, std::size_t chunkOverride, bool& leaveBus)
{
    DeliveryMode mode;
    mode.t0 = token.card.protocol == "t0";
    mode.chunk = chunkOverride != 0 ? chunkOverride : token.card.chunk;
    if (raw.size() >= 2 && raw[0] == 0x00 && raw[1] == getResponseIns) {
        return getResponse(raw, mode, session_);
    }
    session_.pending.clear();
    session_.hasPending = false;
    try {
        const CommandApdu apdu(raw);
        const Response response = dispatchCommand(apdu, session_, token, reportedSerial_.value_or(token.serial));
        leaveBus = response.leaveBus;
        return deliver(apdu, response, mode, session_);
    } catch (const MalformedApdu&) {
        return statusOnly(sw::wrongLength);
    }
}

} // namespace qvcard
