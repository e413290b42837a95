#pragma once

// How a run that works on tokens meets SIGINT, SIGHUP, SIGTERM and SIGQUIT. Ending the process
// in the middle of a token's work could leave the token with a generated PIN that nobody was
// told, so from the first call on the first such signal only interrupts the run: the tokens at
// work finish and write out their outcomes, no other token is begun, and the process ends with
// 128 plus the signal's number. A second signal ends the process with that status once the
// PINs that tokens at work may hold are written out (held_pin_lines); the processes the run
// started end with it (their library sees to that). A stream that is stalled puts that end off
// without bound, since no PIN line may be lost; meanwhile the tokens at work go on, and only
// SIGKILL then ends the process. A signal that the process ignores stays ignored.
namespace run_signals {

// Catches the signals until the process ends. The calling thread, and every thread it starts
// from then on, no longer receives them: a thread of their own does, so that no card exchange
// or file write at work is cut short by one. Later calls do nothing.
void catchDuringRun() noexcept;
// The signal that interrupted the run; 0 while none did.
int interruptingSignal() noexcept;
// True once a second signal has come and the process is ending: a token that checks it before
// it sends a new PIN or takes a snapshot does neither. One already past that check (waiting for
// the flash library's lock with its PIN, or for the snapshot library, or within a snapshot) goes
// on while the write-out lasts. The handler raises it before it writes out the held PIN lines, so
// a token that holds its line and then finds this false has that line written out.
bool endingAtOnce() noexcept;
// The process's exit status for a run that would end with `status`. Once a second signal has
// come it does not return: that signal's handler ends the process.
int exitStatus(int status) noexcept;

} // namespace run_signals
