#pragma once

// How a run that works on tokens meets SIGINT, SIGHUP, SIGTERM and SIGQUIT. Ending the process
// in the middle of a token's work could leave the token with a generated PIN that nobody was
// told, so from the first call on the first such signal only interrupts the run: the tokens at
// work finish and write out their outcomes, no other token is begun, and the process ends with
// 128 plus the signal's number. A second signal ends the process at once, with that status,
// once the PINs that tokens at work may hold are written out (held_pin_lines) and the processes
// the run started are ended. A signal that the process ignores stays ignored.
namespace run_signals {

// Catches the signals until the process ends. The calling thread, and every thread it starts
// from then on, no longer receives them: a thread of their own does, so that no card exchange
// or file write at work is cut short by one. Later calls do nothing.
void catchDuringRun() noexcept;
// Names the function that a second signal calls before the process ends: it ends the processes
// the run started, which the signal does not reach (they run in a group of their own, so that a
// terminal's ^C leaves them to finish). It must be async-signal-safe; the handler calls the
// address given here, so it resolves no symbol itself. Call it before the run.
void endOnSecondSignal(void (*endStarted)()) noexcept;
// The signal that interrupted the run; 0 while none did.
int interruptingSignal() noexcept;
// The process's exit status for a run that would end with `status`.
int exitStatus(int status) noexcept;

} // namespace run_signals
