#!/bin/sh
# Runs the command pipeline's tests with another shell bound over /bin/sh in a private mount
# namespace, so that the library's shell, and the test profilers', is that one.
#   underShell.sh SHELL TESTS_BINARY
# Exits 77 (skipped), naming why, where the shell is missing or no namespace can be made.
set -eu
shell=$(command -v "$1") || { echo "skipped: $1 is not installed"; exit 77; }
unshare -m true 2>/dev/null || { echo "skipped: no private mount namespace here (needs root)"; exit 77; }
exec unshare -m --propagation private sh -c '
  mount --bind "$1" /bin/sh
  [ "$(stat -L -c %d:%i /bin/sh)" = "$(stat -L -c %d:%i "$1")" ] || { echo "$1 is not /bin/sh"; exit 1; }
  exec "$2" --gtest_filter="FakeProfiler.*:CommandOutputTest.*"
' sh "$shell" "$2"
