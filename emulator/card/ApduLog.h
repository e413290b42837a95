#pragma once

#include "Bytes.h"

#include <filesystem>
#include <string>

namespace qvcard {

// The wire log of one token, `<serial>.apdu.log` in the state directory: one line per
// exchange, "<UTC time> <command> -> <response>", hex bytes as on the wire. It is the test
// oracle for exact bytes, so secrets appear in it as sent; the file is readable by its owner
// only, and nothing of it goes to standard output or error. Presence polls (GET ATR) are left
// out: pcscd sends one every 400 ms.
class ApduLog {
public:
    explicit ApduLog(std::filesystem::path file);

    void exchange(const Bytes& command, const Bytes& response) const;
    void control(std::uint8_t code) const;
    void note(const Bytes& command, const std::string& what) const;

private:
    void append(const std::string& line) const;

    std::filesystem::path file_;
};

} // namespace qvcard
