#!/usr/bin/env bash
# A general PKCS#11 client lists every virtual token through the stand-in module, with its
# label and serial number.
set -euo pipefail
qvtoken="$1"
module="$2"
export QVTOKEN_STATE_DIR="$(mktemp -d)"
trap 'rm -rf "$QVTOKEN_STATE_DIR"' EXIT

"$qvtoken" create full class2 named >/dev/null
"$qvtoken" create bare --serial 987654321 --slot 40 --label "Fourth token" >/dev/null
# A sanitizer build of the module needs its runtime loaded first into the uninstrumented client;
# the client's own allocations are not ours to judge.
preload=()
asan_runtime="$(ldd "$module" | awk '/libasan/ { print $3 }')"
if [ -n "$asan_runtime" ]; then
  preload=(env LD_PRELOAD="$asan_runtime" ASAN_OPTIONS=detect_leaks=0)
fi
output="$("${preload[@]}" p11tool --provider "$module" --list-tokens)"

status=0
for expected in "Stand-in A:1234567890" "Stand-in B:2000000001" "Stand-in C:3000000001" "Fourth token:987654321"; do
  label="${expected%%:*}"
  serial="${expected##*:}"
  # Label and serial of one token stand in the same block of the listing.
  if ! grep -A6 -F "Label: $label" <<<"$output" | grep -q -F "Serial: $serial"; then
    echo "missing token $label ($serial) in:" >&2
    status=1
  fi
done
count="$(grep -c '^Token [0-9]*:' <<<"$output" || true)"
if [ "$count" != 4 ]; then
  echo "expected 4 tokens, listed $count" >&2
  status=1
fi
[ "$status" = 0 ] || echo "$output" >&2
exit "$status"
