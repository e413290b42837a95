#pragma once

namespace logging {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor();
    // One descriptor, one close.
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // 0, or the system error number of the close: some file systems report a lost write only
    // there. Closing a closed descriptor gives 0.
    int close();

private:
    int fd_;
};

} // namespace logging
