#include "pin/getPinFromStdInput.h"

#include "cli/DomainError.h"
#include "pin/EchoOffScope.h"
#include "pin/wipeString.h"
#include "pkcs11/ScopeGuard.h"

#include <cerrno>
#include <iostream>
#include <unistd.h>

namespace {

constexpr std::size_t kInitialCapacity = 64;

// Grows the buffer by hand so that no reallocation leaves an unwiped copy behind.
void appendWiping(std::string& buffer, char c)
{
    if (buffer.size() == buffer.capacity()) {
        std::string larger;
        larger.reserve(2 * buffer.capacity());
        larger = buffer;
        wipeString(buffer);
        buffer.swap(larger);
    }
    buffer.push_back(c);
}

// Byte by byte, so that the next line (a confirmation from a pipe) stays unread.
std::string readLine()
{
    std::string line;
    line.reserve(kInitialCapacity);
    auto wipe = vt::scopeGuard(vt::ScopeFail{}, [&line] { wipeString(line); });
    for (;;) {
        char c = 0;
        const ssize_t count = read(STDIN_FILENO, &c, 1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw PinReadError();
        }
        if (count == 0) {
            return line;
        }
        if (c == '\n') {
            // A line ended the CR LF way: the CR is no part of the PIN.
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        appendWiping(line, c);
    }
}

} // namespace

std::string getPinFromStdInput(const std::string& prompt)
{
    // Echo goes off before the prompt shows, so the flush of pending input cannot take
    // anything typed in answer to it.
    EchoOffScope echoOff(prompt);
    std::cout << prompt << std::flush;
    std::string pin = readLine();
    auto wipe = vt::scopeGuard(vt::ScopeFail{}, [&pin] { wipeString(pin); });
    echoOff.restore();
    std::cout << '\n' << std::flush;
    return pin;
}
