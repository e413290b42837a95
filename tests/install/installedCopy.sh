#!/usr/bin/env bash
# Installs the build into a fresh prefix whose path holds a blank (and the emulator into another,
# as a module installed elsewhere), then works from there: qvadmin version, list-tokens and a
# logged command against the stand-in on one virtual token, and a C program built through the
# installed headers and pkg-config files that takes a snapshot through the installed library and
# its profiler. Then uninstalls both with scripts/uninstall: nothing installed remains, what
# qvadmin wrote beside itself and a file beside the prefix stay. A table of installs then checks
# that each uninstall leaves its folder as it was before the install, where one without its
# install record, with a record edited by hand or with a link out of the prefix (or the stage) is
# first refused whole, one whose folder is swapped for such a link while it runs keeps what the
# link leads to, and installs sharing a prefix are uninstalled in reverse order. The build folder's
# install manifests and records, which the user's own uninstall reads, are as they were before
# the test.
#   installedCopy.sh BUILD_DIR LIBDIR SOURCE_DIR SEAM(ON|OFF)
set -euo pipefail
build=$1 libdir=$2 source=$3 seam=$4
work=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }

manifests=()
for name in install_manifest install_record; do
  for component in "" _emulator _runtime; do manifests+=("$build/$name$component.txt"); done
done
manifestState() { for m in "${manifests[@]}"; do if [ -e "$m" ]; then cksum <"$m"; else echo absent; fi; done; }
mkdir "$work/saved"
for m in "${manifests[@]}"; do [ ! -e "$m" ] || cp -p "$m" "$work/saved/"; done
restoreManifests() {
  for m in "${manifests[@]}"; do
    if [ -e "$work/saved/${m##*/}" ]; then cp -p "$work/saved/${m##*/}" "$m"; else rm -f "$m"; fi
  done
}
before=$(manifestState)
trap 'restoreManifests; rm -rf "$work"' EXIT

prefix="$work/pre fix" standin="$work/stand in"
# What an uninstall that splits paths on blanks would delete instead of the installed files.
touch "$work/pre"
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --install "$build" --prefix "$standin" --component emulator >/dev/null
for file in bin/qvadmin "$libdir"/libqvflash.so.1 "$libdir"/libqvflash-utils.so.1 "$libdir"/libqvflash.so \
  "$libdir"/libqvflash-utils.so libexec/qv-system-profiler include/qvflash.h include/qvflash-utils.h \
  "$libdir"/pkgconfig/qvflash.pc "$libdir"/pkgconfig/qvflash-utils.pc; do
  [ -e "$prefix/$file" ] || fail "$file not installed"
done
for file in "$libdir"/libqvpkcs11zrn.so bin/qvtoken bin/qvtoken-card; do
  [ ! -e "$prefix/$file" ] || fail "$file installed without the emulator component"
done

# The module is found on the library search path. Its token is one of this test's own (the
# PKCS#11 road); the cards' pcscd (PCSCLITE_CSOCK_NAME) has none of it.
export LD_LIBRARY_PATH=$standin/$libdir QVTOKEN_STATE_DIR=$work/state
"$prefix/bin/qvadmin" version | grep -q '^qvadmin version:' || fail "qvadmin version"
"$standin/bin/qvtoken" create full >/dev/null
tokens=$("$prefix/bin/qvadmin" list-tokens)
grep -q '1234567890' <<<"$tokens" || fail "list-tokens: $tokens"
"$prefix/bin/qvadmin" set-label -p 40417263 -l Installed >/dev/null || fail "set-label"
[ -s "$prefix/bin/qvadmin-logs/qvadmin_1234567890.log" ] || fail "no log beside the installed qvadmin"
unset LD_LIBRARY_PATH

# pkg-config puts a backslash before the blank of the prefix; eval reads it back.
flags=()
eval "flags=($(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs qvflash qvflash-utils))"
cc -std=c11 -Wall -Werror -o "$work/linksBoth" "$source/tests/install/linksBoth.c" "${flags[@]}" \
  -Wl,-rpath,"$prefix/$libdir"

# A fixture host's snapshot where the build honours QV_HOST_ROOT; the real host's (a snapshot or
# a status) where it does not. Either way nothing on the error stream.
fixture="D:s4ewnx0n123456;wdwx11a12b3456|P:intelrcoretmi79750hcpu260ghz"
out=$(QV_HOST_ROOT="$source/tests/qvflash-utils/hosts/workstation" "$work/linksBoth" 2>"$work/err")
[ ! -s "$work/err" ] || fail "snapshot wrote to stderr: $(cat "$work/err")"
[ "$(head -1 <<<"$out")" = "Command executed successfully" ] || fail "qvflash status text: $out"
snapshot=$(tail -1 <<<"$out")
if [ "$seam" = ON ]; then
  [ "$snapshot" = "$fixture" ] || fail "fixture snapshot: $snapshot"
else
  [ "$snapshot" != "$fixture" ] || fail "QV_HOST_ROOT honoured by a build without the seam"
fi

# Without its profiler the library says so with one status, and no shell chatter.
rm "$prefix/libexec/qv-system-profiler"
out=$("$work/linksBoth" 2>"$work/err")
[ ! -s "$work/err" ] || fail "missing profiler wrote to stderr: $(cat "$work/err")"
[ "$(tail -1 <<<"$out")" = "status 3" ] || fail "missing profiler: $out"

out=$("$source/scripts/uninstall" "$build")
grep -qF "kept $prefix/bin/qvadmin-logs" <<<"$out" || fail "uninstall does not name the log folder: $out"
"$source/scripts/uninstall" "$build" emulator >/dev/null
for m in "$build/install_manifest.txt" "$build/install_manifest_emulator.txt"; do
  while IFS= read -r path || [ -n "$path" ]; do
    [ ! -e "$path" ] || fail "uninstall left $path"
  done <"$m"
done
if [ "$(ls -A "$prefix")" != bin ] || [ "$(ls -A "$prefix/bin")" != qvadmin-logs ] || [ -e "$standin" ]; then
  fail "uninstall left folders: $(find "$prefix" "$standin" 2>&1)"
fi
[ -e "$work/pre" ] || fail "uninstall removed a file beside the prefix"

# Each row sets up its own folder (the working folder), then installs and uninstalls; afterwards
# the folder must hold what it held before the install: the same paths, types, modes, owners and
# sizes. Where the uninstall must refuse something, the row checks that it says so.
uninstall=$source/scripts/uninstall
ownFolders() { # folders and a file of the prefix's own, there before the install
  case $1 in
    setUp)
      mkdir -p prefix/bin "prefix/$libdir"
      chmod 2775 prefix/bin "prefix/$libdir"
      echo own >prefix/own ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      [ -e prefix/include/qvflash.h ] || fail "not installed"
      "$uninstall" "$build" ;;
  esac
}
runtimeOnly() { # one component, uninstalled by its own line; installed twice, the second making no
  # folder; the folder it made above the prefix is not the install's own, and stays
  case $1 in
    setUp) ;;
    run)
      cmake --install "$build" --prefix "$PWD/above/prefix" --component runtime >/dev/null
      cmake --install "$build" --prefix "$PWD/above/prefix" --component runtime >/dev/null
      { [ -e above/prefix/bin/qvadmin ] && [ ! -e above/prefix/include ]; } || fail "not the runtime alone"
      "$uninstall" "$build" runtime
      rmdir above ;;
  esac
}
staged() { # decoys at the installed paths of the live prefix, and an empty live folder; the
  # emulator staged too, its record naming no made folder, then the stage's top folder swapped for
  # a link to the live one, which leads the emulator's paths to the decoys
  case $1 in
    setUp)
      mkdir -p live/bin live/include live/libexec
      echo decoy >live/bin/qvadmin
      echo decoy >live/bin/qvtoken
      echo decoy >live/include/qvflash.h ;;
    run)
      DESTDIR=stage cmake --install "$build" --prefix "$PWD/live" >/dev/null
      DESTDIR=stage cmake --install "$build" --prefix "$PWD/live" --component emulator >/dev/null
      [ -e "stage$PWD/live/bin/qvadmin" ] || fail "not staged"
      local out top=${PWD#/}
      out=$("$uninstall" "$build" 2>&1) && fail "uninstalled a staged install from the live prefix: $out"
      grep -qF "DESTDIR=$PWD/stage $uninstall $build" <<<"$out" || fail "the refusal does not say how to call: $out"
      top=/${top%%/*}
      mv "stage$top" stage/top && ln -s "$top" "stage$top"
      DESTDIR=stage refuses emulator \
        "refused $PWD/stage$PWD/live/bin/qvtoken: outside the stage $PWD/stage through a link"
      rm "stage$top" && mv stage/top "stage$top"
      DESTDIR=stage "$uninstall" "$build" emulator
      DESTDIR=stage "$uninstall" "$build" ;;
  esac
}
hostileManifest() { # lines to refuse, and a folder at a listed path, ahead of the installed files
  case $1 in
    setUp)
      mkdir -p prefix/folder cwd
      echo decoy >cwd/relative
      echo decoy >outside
      echo decoy >dotdot ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      printf '%s\n' relative "$PWD/outside" "$PWD/prefix/../dotdot" "$PWD/prefix/folder" |
        cat - "$build/install_manifest.txt" >manifest && mv manifest "$build/install_manifest.txt"
      local out
      out=$(cd cwd && "$uninstall" "$build" 2>&1) && fail "uninstall succeeded: $out"
      says "$out" "refused relative: a relative path" "refused $PWD/outside: outside the prefix $PWD/prefix" \
        "refused $PWD/prefix/../dotdot: a path with a .. component" "kept $PWD/prefix/folder: not a file"
      [ ! -e prefix/bin ] || fail "uninstall stopped at a refused line: $out" ;;
  esac
}
missingRecord() { # no record, and a line outside the prefix; the way out over folders that were there
  case $1 in
    setUp)
      mkdir -p prefix/bin prefix/include prefix/libexec "prefix/$libdir/pkgconfig"
      echo decoy >outside ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      rm "$build/install_record.txt"
      echo "$PWD/outside" >>"$build/install_manifest.txt"
      refusedWhole "no install record $build/install_record.txt" ;;
  esac
}
editedRecord() { # a second, wider prefix and made folders outside the prefix, added by hand
  case $1 in
    setUp)
      mkdir -p outside/empty
      echo own >outside/file ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      printf '%s\n' "prefix $PWD" "made $PWD/outside/empty" "made $PWD/prefix/../outside/empty" \
        >>"$build/install_record.txt"
      refusedWhole "refused the install record $build/install_record.txt: 2 prefix lines" \
        "record $build/install_record.txt: made $PWD/outside/empty: outside the prefix $PWD/prefix" \
        "made $PWD/prefix/../outside/empty: a path with a .. component" ;;
  esac
}
linkedFolder() { # the library folder replaced after the install by a link to a folder outside the
  # prefix that holds a file named like the library and an empty pkgconfig folder; put back, then
  # swapped again by an rm first on PATH at the first removal, after the checks: what the folder
  # outside holds stays, and the link is named; uninstalled once the folder is back
  case $1 in
    setUp)
      mkdir -p outside/pkgconfig
      echo own >outside/libqvflash.so.1 ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      local lib=$PWD/prefix/$libdir swap out
      swap=$(printf 'mv %q %q && ln -s %q %q' "$lib" "$PWD/away" "$PWD/outside" "$lib")
      eval "$swap"
      refuses "" "refused $lib/libqvflash.so.1: outside the prefix" \
        "refused made $lib: outside the prefix" "nothing removed; remove each link"
      rm "$lib" && mv away "$lib"
      mkdir "$work/seam"
      printf '#!/bin/sh\n[ -L %q ] || { %s; }\nexec %q "$@"\n' "$lib" "$swap" "$(command -v rm)" >"$work/seam/rm"
      chmod +x "$work/seam/rm"
      out=$(PATH=$work/seam:$PATH "$uninstall" "$build" 2>&1) && fail "uninstall succeeded: $out"
      says "$out" "kept $lib/libqvflash.so.1: its folder now lies outside the prefix" \
        "kept $lib/pkgconfig: its folder now lies outside the prefix" "kept $lib: it is now a link"
      rm "$lib" && mv away "$lib"
      "$uninstall" "$build" ;;
  esac
}
sharedPrefix() { # the program and the emulator in one prefix: uninstalled in install order, the
  # folders the emulator still uses are named and kept by the program's record; installed again
  # and uninstalled in reverse order, the prefix goes
  case $1 in
    setUp) ;;
    run)
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      cmake --install "$build" --prefix "$PWD/prefix" --component emulator >/dev/null
      local out folder
      out=$("$uninstall" "$build") || fail "uninstall failed: $out"
      for folder in prefix prefix/bin "prefix/$libdir"; do
        grep -qxF "uninstall: kept $PWD/$folder: it still holds files" <<<"$out" || fail "$folder not named: $out"
      done
      "$uninstall" "$build" emulator >/dev/null
      cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
      cmake --install "$build" --prefix "$PWD/prefix" --component emulator >/dev/null
      "$uninstall" "$build" emulator >/dev/null
      "$uninstall" "$build" ;;
  esac
}
# Whether the uninstall's output $1 says each further argument.
says() {
  local out=$1 said
  shift
  for said in "$@"; do
    grep -qF "$said" <<<"$out" || fail "uninstall does not say $said: $out"
  done
}
# Uninstalls the component $1 (none where empty), which must remove nothing and say each further
# argument.
refuses() {
  local installed out
  installed=$(snapshot)
  out=$("$uninstall" "$build" ${1:+"$1"} 2>&1) && fail "uninstall succeeded: $out"
  [ "$(snapshot)" = "$installed" ] || fail "uninstall removed: $(diff <(echo "$installed") <(snapshot))"
  shift
  says "$out" "$@"
}
# Refuses as above, naming the way out: install again, then uninstall; then takes it.
refusedWhole() {
  refuses "" "$@" "nothing removed; install again from $build"
  cmake --install "$build" --prefix "$PWD/prefix" >/dev/null
  "$uninstall" "$build"
}
snapshot() { find . -printf '%p %y %m %u %s\n' | LC_ALL=C sort; }
for row in ownFolders runtimeOnly staged hostileManifest missingRecord editedRecord linkedFolder sharedPrefix; do
  mkdir "$work/$row"
  cd "$work/$row"
  $row setUp
  was=$(snapshot)
  out=$($row run 2>&1) || fail "$row: $out"
  [ "$(snapshot)" = "$was" ] || fail "$row: the folder changed: $(diff <(echo "$was") <(snapshot))"
done

restoreManifests
[ "$(manifestState)" = "$before" ] || fail "the build folder's install manifests or records changed"
echo "installed copy works"
