#pragma once

#include "CardSession.h"
#include "CommandApdu.h"
#include "Response.h"

namespace qvcard {

// How answers reach the host's receive buffer, per token setting.
struct DeliveryMode {
    // T=0: a case-4 command gets 61xx and GET RESPONSE; a case-2 command whose Le does not
    // match the data gets 6Cxx and is sent again with the right Le.
    bool t0 = false;
    // Announce at most this many bytes per 61xx (0: only the buffer limits).
    std::size_t chunk = 0;
};

// The bytes to send for a handler's answer. Data the command's Le cannot take waits in the
// session for GET RESPONSE.
Bytes deliver(const CommandApdu& apdu, const Response& response, const DeliveryMode& mode, CardSession& session);

// GET RESPONSE (00 C0 00 00 xx, 00 meaning 256): the next part of the waiting answer, then
// 61yy while more waits, else the original status word. Nothing waiting: 69 85.
Bytes getResponse(const Bytes& raw, const DeliveryMode& mode, CardSession& session);

} // namespace qvcard
