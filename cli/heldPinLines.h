#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Lines telling a generated PIN that a token may hold while the run has not yet written it out:
// each is kept from before the PIN is sent until the token's outcome (log block, PIN file row,
// console line) has been written. A run ended at once by a signal writes the lines still held,
// so that no token keeps a PIN that nobody was told.
namespace held_pin_lines {

// Where a line is held; `kNowhere` when every place is taken.
constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

// Keeps a copy of `line` (ending in a line feed) for the token with `serial`.
std::size_t hold(std::uint64_t serial, const std::string& line);
// Wipes and forgets one line: its token refused the PIN and kept the one it had.
void drop(std::size_t place) noexcept;
// Wipes and forgets every line of the token: its outcome has been written out.
void dropAll(std::uint64_t serial) noexcept;
// Writes every held line to standard error, a line that standard error refuses to standard
// output. Async-signal-safe; the lines stay in memory from then on, as a thread dropping one
// could otherwise free what is being written.
void writeAll() noexcept;

} // namespace held_pin_lines
