#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs a program with a new pseudo-terminal as its controlling terminal on standard input,
// output and error, as a shell runs a foreground job (so ^Z stops it), and plays the
// operator: waits for text to appear, then types. The driver keeps the terminal open, so its
// settings can be read after the program ended.
class PtyDriver {
public:
    // beforeExec runs in the program's process right before it starts (async-signal-safe
    // calls only).
    PtyDriver(const std::string& program, const std::vector<std::string>& args,
              const std::function<void()>& beforeExec = {});
    ~PtyDriver();
    PtyDriver(const PtyDriver&) = delete;
    PtyDriver& operator=(const PtyDriver&) = delete;

    // Reads the output until it holds text after what earlier waits consumed; throws after
    // a bound.
    void waitFor(const std::string& text);
    void type(const std::string& keys);
    // Waits for the program to end and reads the rest of its output; the wait status.
    int finish();
    const std::string& output() const { return seen_; }
    bool echoOn() const;
    pid_t pid() const { return program_; }
    // Waits, bounded, until the program is stopped.
    void waitStopped() const;

private:
    bool readSome(int timeoutMs);

    int master_ = -1;
    int slave_ = -1;
    pid_t child_ = -1; // the job's session leader, which ends as the program does
    pid_t program_ = -1;
    std::string seen_;
    std::size_t consumed_ = 0;
};
