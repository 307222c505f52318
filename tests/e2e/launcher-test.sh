#!/usr/bin/env bash
# The launcher gives a new player a private data directory holding the shipped
# first-run marker, keeps an existing player's marker whatever its letter case,
# and starts the game inside that directory. Usage: launcher-test.sh LAUNCHER MARKER
set -euo pipefail
launcher=$1
marker=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
run() {  # run DATA_DIR: the launcher with pwd standing in for the game
  MINDLARK_DATA_DIR=$1 MINDLARK_PROGRAM=/bin/pwd MINDLARK_MARKER=$marker "$launcher"
}

started_in=$(run "$work/new")
check "the game starts in the data directory" test "$started_in" = "$work/new"
check "the directory is the player's alone" test "$(stat -c %a "$work/new")" = 700
check "a new player gets the shipped marker" cmp -s "$marker" "$work/new/num.qk"
check "the marker is the player's alone" test "$(stat -c %a "$work/new/num.qk")" = 600

printf 'set up' > "$work/new/num.qk"
run "$work/new" > /dev/null
check "a later start keeps the marker" test "$(cat "$work/new/num.qk")" = "set up"

mkdir -p "$work/windows"
printf 'from windows' > "$work/windows/NUM.QK"
run "$work/windows" > /dev/null
check "a marker in another letter case counts" test ! -e "$work/windows/num.qk"

# A FAT stick refuses chmod ("Function not implemented"): the game starts all the same.
mkdir "$work/nomodes"
printf '#!/bin/sh\nexit 1\n' > "$work/nomodes/chmod"
chmod +x "$work/nomodes/chmod"
started_on_stick=$(PATH="$work/nomodes:$PATH" run "$work/stick" || true)
check "a disk without modes still starts the game" test "$started_on_stick" = "$work/stick"

echo "$((7 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
