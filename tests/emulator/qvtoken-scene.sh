#!/usr/bin/env bash
# qvtoken as a person or a test uses it: a scene in one command, refusals that leave the scene
# as it was, faults and switches in the token's state, replug and removal.
set -uo pipefail
qvtoken="$1"
export QVTOKEN_STATE_DIR="$(mktemp -d)"
trap 'rm -rf "$QVTOKEN_STATE_DIR"' EXIT
failures=0

expect_status() {  # expected-status description command...
  local expected="$1" what="$2"
  shift 2
  "$@" >/dev/null 2>&1
  local status=$?
  if [ "$status" != "$expected" ]; then
    echo "FAIL: $what: exit $status, expected $expected" >&2
    failures=$((failures + 1))
  fi
}

expect_output() {  # description pattern command...
  local what="$1" pattern="$2"
  shift 2
  if ! "$@" 2>&1 | grep -q -E "$pattern"; then
    echo "FAIL: $what: no line matching '$pattern'" >&2
    failures=$((failures + 1))
  fi
}

count() { "$qvtoken" list | wc -l; }

expect_status 0 "scene" "$qvtoken" create full class2 named
[ "$(count)" = 3 ] || { echo "FAIL: scene has $(count) tokens" >&2; failures=$((failures + 1)); }
expect_output "list shows serial, slot and label" "^1234567890 +slot 1 .*Stand-in A$" "$qvtoken" list

expect_status 2 "taken slot" "$qvtoken" create bare --slot 1
expect_status 1 "taken serial" "$qvtoken" create bare --serial 2000000001 --slot 30
expect_status 1 "unknown preset" "$qvtoken" create tls nonsense
[ "$(count)" = 3 ] || { echo "FAIL: a refused create changed the scene" >&2; failures=$((failures + 1)); }
expect_status 0 "one more full token" "$qvtoken" create
expect_output "fresh serial and slot" "^3000000002 +slot 6 " "$qvtoken" list

expect_status 0 "fault" "$qvtoken" fault 1234567890 C_Login 0xA4 --times 2 --skip 1
expect_output "fault in the state" '"entry": "C_Login"' "$qvtoken" show 1234567890
expect_output "fault value" '"rv": "0xa4"' "$qvtoken" show 1234567890
expect_status 2 "unknown entry" "$qvtoken" fault 1234567890 C_Bogus 5
expect_status 2 "two counts" "$qvtoken" fault 1234567890 C_Login 5 --once --always
expect_status 0 "clear faults" "$qvtoken" fault 1234567890 --clear
expect_output "faults cleared" '"moduleFaults": ""' "$qvtoken" show 1234567890

# The card process looks for a held answer's file from a folder of its own.
expect_status 2 "hold on a relative path" "$qvtoken" card-fault 1234567890 hold held --ins 24
expect_status 0 "hold" "$qvtoken" card-fault 1234567890 hold /held --ins 24
expect_output "hold in the state" '"action": "hold"' "$qvtoken" show 1234567890

expect_status 0 "switch" "$qvtoken" switch 2000000001 no-tls-query on
expect_output "switch in the state" '"noTlsQuery": "true"' "$qvtoken" show 2000000001
expect_status 2 "unknown switch" "$qvtoken" switch 2000000001 no-such on
expect_status 1 "missing token" "$qvtoken" switch 42 no-tls-query on

expect_status 0 "model" "$qvtoken" model 2000000001 --hardware 1.0 --firmware 20.1 --class 1 --feature-number 32 --name "Т3"
expect_output "model name object" '"value": "d0a233"' "$qvtoken" show 2000000001
expect_output "versions and class" '"tokenClass": "1"' "$qvtoken" show 2000000001
expect_status 0 "model name removed" "$qvtoken" model 2000000001 --no-name
if "$qvtoken" show 2000000001 | grep -q '"value": "d0a233"'; then
  echo "FAIL: --no-name kept the model name" >&2
  failures=$((failures + 1))
fi
expect_status 2 "version out of range" "$qvtoken" model 2000000001 --firmware 256.0
expect_status 2 "name and no name" "$qvtoken" model 2000000001 --name X --no-name

expect_status 0 "replug" "$qvtoken" replug 3000000001

# A damaged file is named with its field; the other tokens are still listed.
sed -i 's/"tokenClass": "1"/"tokenClass": "-3"/' "$QVTOKEN_STATE_DIR/1234567890.json"
expect_status 1 "show a damaged file" "$qvtoken" show 1234567890
expect_status 1 "list with a damaged file" "$qvtoken" list
listing="$("$qvtoken" list 2>&1)"
for pattern in "1234567890.json: tokenClass: not a number" "^2000000001 "; do
  grep -q -E "$pattern" <<<"$listing" || { echo "FAIL: list: no line matching '$pattern'" >&2; failures=$((failures + 1)); }
done
expect_output "plug counted" '"plugGeneration": "1"' "$qvtoken" show 3000000001

expect_status 2 "no command" "$qvtoken"
expect_status 2 "unknown command" "$qvtoken" frobnicate
expect_status 0 "remove all" "$qvtoken" remove --all
[ "$(count)" = 0 ] || { echo "FAIL: tokens left after remove --all" >&2; failures=$((failures + 1)); }
expect_status 1 "remove missing" "$qvtoken" remove 1234567890

exit $((failures > 0))
