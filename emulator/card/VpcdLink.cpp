#include "VpcdLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvcard {

VpcdLink::VpcdLink(std::uint16_t port)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        throw VpcdError("cannot create a socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
        throw VpcdError("vpcd does not listen on port " + std::to_string(port));
    }
    // Each answer is one small write; Nagle's delay would add to every round trip.
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

VpcdLink::~VpcdLink()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<Bytes> VpcdLink::receive(std::chrono::milliseconds timeout)
{
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, static_cast<int>(timeout.count()));
    if (ready < 0 && errno != EINTR) {
        throw VpcdError("poll on the vpcd socket failed");
    }
    if (ready <= 0) {
        return std::nullopt;
    }
    std::uint8_t header[2];
    readExactly(header, sizeof header);
    Bytes message(static_cast<std::size_t>(header[0] << 8 | header[1]));
    readExactly(message.data(), message.size());
    return message;
}

void VpcdLink::send(const Bytes& message)
{
    Bytes frame;
    frame.reserve(message.size() + 2);
    frame.push_back(static_cast<std::uint8_t>(message.size() >> 8));
    frame.push_back(static_cast<std::uint8_t>(message.size()));
    frame.insert(frame.end(), message.begin(), message.end());
    std::size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t n = ::send(fd_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw VpcdError("vpcd connection lost while answering");
        }
        sent += static_cast<std::size_t>(n);
    }
}

void VpcdLink::readExactly(std::uint8_t* buffer, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        // vpcd writes the length prefix and the message separately; with Nagle on its side,
        // the message waits for our ACK of the prefix, which the kernel would delay by up to
        // 40 ms. Linux resets quick-ACK mode after use, so it is set before every read.
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t n = ::recv(fd_, buffer + got, size - got, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw VpcdError("vpcd closed the connection");
        }
        got += static_cast<std::size_t>(n);
    }
}

} // namespace qvcard
