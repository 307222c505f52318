#!/usr/bin/env bash
# One store shared the ways players share it, driven with the game's own store code.
#   sharedstore.sh machines REGISTER_HELPER SESSION_HELPER QKSTORE
#     three machines: one directory mounted three times with sshfs through a private
#     SSH server, each copy of the game under a host name of its own; three rounds
#     of three copies registering at once while players sign in, then a copy
#     killed midway through registering while the other two go on
#   sharedstore.sh exfat|fat32 REGISTER_HELPER SESSION_HELPER QKSTORE
#     a stick: a new store set up on an image mounted through exfat-fuse or fusefat,
#     copies registering at once, sign-in, copies killed midway, a store that
#     Windows wrote in capitals
# After each step: every registration a copy confirmed is there with all five files
# holding its values, no number is confirmed twice, the counter counts the
# registrations, no temporaries are left, `qkstore check` finds nothing wrong, and
# no copy ended in an error. Exits 77 (skipped), saying what is missing, where it
# cannot run. SHAREDSTORE_EACH sets how many each copy registers in a round.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
script=$here/$(basename "$0")
part=${1:-}
register=${2:-}
session=${3:-}
qkstore=${4:-}
case $part in
  machines) needs=(hostname) ;;
  exfat) needs=(mkfs.exfat mount.exfat-fuse losetup /dev/loop-control) ;;
  fat32) needs=(mkfs.vfat fusefat) ;;
  *)
    echo "usage: sharedstore.sh machines|exfat|fat32 REGISTER_HELPER SESSION_HELPER QKSTORE" >&2
    exit 2
    ;;
esac
# shellcheck source=../../../tools/sshfs-sandbox.sh
source "$here/../../../tools/sshfs-sandbox.sh"
missing=$(sandbox_missing "${needs[@]}")
if [ -n "$missing" ]; then
  echo "sharedstore $part: skipped: needs $missing (tools/setup.sh installs the packages; run as root)"
  exit 77
fi
sandbox_private_mounts "$script" "$@"
sandbox_init
each=${SHAREDSTORE_EACH:-150}

# Ends the stage, everything undone, before CTest's timeout would kill it where no
# trap runs. A builtin read waits, so that no sleeping process outlives it.
budget=${SHAREDSTORE_BUDGET:-540}
mkfifo "$SANDBOX/watchdog"
"${SANDBOX_ORPHANS_DIE[@]}" bash -c 'read -r -t "$0" <>"$1" ||
  { echo "sharedstore: still running after $0 s: stopped" >&2 && kill -TERM "$2"; }' \
  "$budget" "$SANDBOX/watchdog" $$ &
sandbox_track $!

started=$SECONDS
step() {
  echo "== [$((SECONDS - started))s] $part: $*"
}
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The three-line document the game writes for a value of plain ASCII, as every
# copy of the game, on Windows too, reads and writes it: stored files are compared
# with it byte for byte.
document='{\\rtf1\\fbidis\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n\\viewkind4\\uc1\\pard\\ltrpar\\lang10241\\f0\\fs17 %s\r\n\\par }\r\n'
rtf() {
  # shellcheck disable=SC2059
  printf "$document" "$1"
}
holds() {  # holds FILE VALUE: whether FILE is exactly the document of VALUE
  local bytes= want
  [ -f "$1" ] || return 1
  IFS= read -r -d '' bytes <"$1" || true
  # shellcheck disable=SC2059
  printf -v want "$document" "$2"
  [ "$bytes" = "$want" ]
}

machine() {  # machine NAME: sets `on` to the command prefix that runs as host NAME
  # Each execs what it runs: the program keeps the process id.
  on=("${SANDBOX_ORPHANS_DIE[@]}")
  [ "$1" = - ] || on+=(unshare --uts sh -c 'hostname "$0" && exec "$@"' "$1")
}

# Registrations confirmed so far, every copy's: "NUMBER TAG-k" lines.
confirmed=$SANDBOX/confirmed
: >"$confirmed"
copies=()
tags=()
births=()
killed=
errored=0
birth_of() {  # sets `birth` to when process PID started, empty once it has ended
  local stat fields
  birth=
  read -r stat <"/proc/$1/stat" 2>/dev/null || return 0
  # The fields after the command's name, which may hold anything: state first.
  read -r -a fields <<<"${stat##*) }"
  [ "${fields[0]}" != Z ] && birth=${fields[19]}
}
start_copy() {  # start_copy MACHINE DIR COUNT TAG: a copy registering, in the background
  machine "$1"
  : >"$SANDBOX/copy.$4"
  "${on[@]}" "$register" "$2" "$3" "$4" >>"$SANDBOX/copy.$4" 2>"$SANDBOX/copy.$4.err" &
  copies+=($!)
  tags+=("$4")
  birth_of $!
  births+=("$birth")
  sandbox_track $!
}
finish_copies() {  # waits for the copies; fails on those that ended in an error
  local i status
  for i in "${!copies[@]}"; do
    status=0
    wait "${copies[i]}" || status=$?
    sandbox_untrack "${copies[i]}"
    cat "$SANDBOX/copy.${tags[i]}" >>"$confirmed"
    if [ "$status" -ne 0 ] && [ "${copies[i]}" != "$killed" ]; then
      errored=$((errored + 1))
      fail "copy ${tags[i]} ended with status $status, $(wc -l <"$SANDBOX/copy.${tags[i]}.err")" \
        "registrations failed; first: $(head -n 1 "$SANDBOX/copy.${tags[i]}.err")"
    fi
  done
  copies=()
  tags=()
  births=()
}
confirmed_by() {  # how many registrations copy TAG has confirmed so far
  wc -l <"$SANDBOX/copy.$1"
}
running() {  # running INDEX: whether copy INDEX runs, not a process that reuses its id
  birth_of "${copies[$1]}"
  [ -n "$birth" ] && [ "$birth" = "${births[$1]}" ]
}
kill_copy_after() {  # kill_copy_after INDEX N: SIGKILL for copy INDEX in its write after the Nth
  local tag=${tags[$1]} until when="not seen writing"
  killed=${copies[$1]}
  while [ "$(confirmed_by "$tag")" -lt "$2" ] && running "$1"; do sleep 0.01; done
  # The hardest moment: while it holds the store's lock and writes a file.
  until=$((SECONDS + 5))
  while [ "$SECONDS" -lt "$until" ] && running "$1"; do
    if [ -n "$(find "/proc/$killed/fd" -lname '*/.*.tmp-*' -print -quit 2>/dev/null)" ]; then
      when="while writing"
      break
    fi
  done
  if running "$1" && kill -KILL "$killed" 2>/dev/null; then
    echo "   $tag killed after $(confirmed_by "$tag") confirmed registrations, $when"
    return 0
  fi
  fail "copy $tag ended before it could be killed"
  return 1
}

# Players signing in while copies register: each sign-in a fresh start of the game
# that must find the account and greet it by name, passing no account over.
signing=()
signing_on=()
start_signins() {  # start_signins MACHINE DIR USER
  local log=$SANDBOX/signins.$1
  machine "$1"
  rm -f "$SANDBOX/stop-signins"
  (
    trap '[ -n "${helper:-}" ] && kill -KILL "$helper" 2>/dev/null && wait "$helper"; exit 143' TERM
    ok=0 bad=0
    while [ ! -e "$SANDBOX/stop-signins" ] && kill -0 $$ 2>/dev/null; do
      "${on[@]}" "$session" "$2" "$3" "pw $3" >"$log.out" 2>>"$log.err" &
      helper=$!
      status=0
      wait "$helper" || status=$?
      if [ "$status" -eq 0 ] && [ "$(cat "$log.out")" = "Welcome Name $3" ]; then
        ok=$((ok + 1))
      else
        bad=$((bad + 1))
        echo "status $status, greeted '$(cat "$log.out")'" >>"$log.err"
      fi
    done
    echo "$ok $bad" >"$log"
  ) &
  signing+=($!)
  signing_on+=("$1")
  sandbox_track $!
}
finish_signins() {
  local pid name ok bad
  touch "$SANDBOX/stop-signins"
  for pid in "${signing[@]}"; do
    wait "$pid" || true
    sandbox_untrack "$pid"
  done
  for name in "${signing_on[@]}"; do
    read -r ok bad <"$SANDBOX/signins.$name"
    echo "   sign-ins on $name: $ok found the player, $bad did not"
    [ "$bad" -eq 0 ] ||
      fail "$bad sign-ins on $name failed: $(sort "$SANDBOX/signins.$name.err" | uniq -c | sort -rn | head -3)"
    rm -f "$SANDBOX/signins.$name"*
  done
  signing=()
  signing_on=()
}

verify() {  # verify DIR SEEN UNANNOUNCED: the store once every copy has ended
  # DIR: the working directory where its files lie (on the server, or the stick);
  # SEEN: the same as a machine sees it; UNANNOUNCED: how many registrations
  # killed copies may have completed without living to confirm them.
  local dir=$1 seen=$2 unannounced=$3 number id k lost=0 total twice counter users=0 file tmps
  total=$(wc -l <"$confirmed")
  while read -r number id; do
    k=${id##*-}
    if ! { holds "$dir/QK/mnp%qk ${number}dN.qk" "Name $id" &&
      holds "$dir/QK/map%qk ${number}dA.qk" "$k" &&
      holds "$dir/QK/mep%qk ${number}dE.qk" "$id@example.org" &&
      holds "$dir/QK/mup%qk ${number}du.qk" "$id" &&
      holds "$dir/QK/mpp%qk ${number}dp.qk" "pw $id"; }; then
      lost=$((lost + 1))
      [ "$lost" -le 3 ] && echo "   user $number does not hold $id's registration whole"
    fi
  done <"$confirmed"
  twice=$(awk '{ print $1 }' "$confirmed" | sort | uniq -d | wc -l)
  for counter in $(seq "$total" $((total + unannounced))) none; do
    holds "$dir/QK/num.qk" "$counter" && break
  done
  for file in "$dir"/QK/m??%qk\ *; do [ -e "$file" ] && users=$((users + 1)); done
  tmps=$(find "$dir/QK" -maxdepth 1 -name '.*.tmp-*' | wc -l)
  echo "   $total confirmed: $lost lost or damaged, $twice numbers given twice, counter $counter," \
    "files of $((users / 5)) users, $tmps temporaries"
  [ "$lost" -eq 0 ] || fail "$lost of $total confirmed accounts lost or damaged"
  [ "$twice" -eq 0 ] || fail "$twice user numbers confirmed to two registrations"
  if [ "$counter" = none ]; then
    fail "the counter does not count the $total registrations: $(head -c 200 "$dir/QK/num.qk" 2>&1 | tr '\r\n' '  ')"
  elif [ "$users" -ne $((5 * counter)) ]; then
    fail "the store holds $users user files for $counter users"
  fi
  # A killed copy's temporary waits until it is old enough to be proven abandoned.
  [ "$tmps" -eq 0 ] || [ "$unannounced" -gt 0 ] || fail "$tmps temporaries left behind"
  "$qkstore" check "$seen" >"$SANDBOX/check.out" 2>&1 ||
    fail "qkstore check: $(grep -v '^note:' "$SANDBOX/check.out" | head -5)"
}

new_store() {  # new_store DIR: a working directory as a new player's first start finds it
  mkdir -p "$1"
  rtf 0 >"$1/num.qk"
}

machines() {
  local server=$SANDBOX/server round i
  local names=(machine-a machine-b machine-c) points=("$SANDBOX/a" "$SANDBOX/b" "$SANDBOX/c")
  sandbox_sshd
  new_store "$server"
  for i in 0 1 2; do sandbox_sshfs "$server" "${points[i]}"; done
  step "set up through machine-a, with a first player, who signs in during the rounds"
  machine machine-a
  "${on[@]}" "$session" "${points[0]}" || fail "the set-up failed with status $?"
  start_copy machine-a "${points[0]}" 1 seed
  finish_copies
  for round in 1 2 3; do
    step "round $round: three machines register $each each at once, and sign in meanwhile"
    for i in 0 1 2; do
      start_copy "${names[i]}" "${points[i]}" "$each" "r$round${names[i]#machine-}"
      start_signins "${names[i]}" "${points[i]}" seed-0
    done
    finish_copies
    finish_signins
    verify "$server" "${points[round - 1]}" 0
  done
  step "a copy on machine-c killed while registering, while the others register"
  for i in 0 1 2; do start_copy "${names[i]}" "${points[i]}" 60 "k${names[i]#machine-}"; done
  kill_copy_after 2 10 || true
  finish_copies
  verify "$server" "${points[0]}" 1
  echo "   copies ending in an error, all rounds: $errored"
}

stick() {  # stick MOUNTPOINT: what a stick must do, once mounted
  local store=$1/mindlark windows=$1/windows round kills=0 status greeting user
  step "a new store set up on the stick"
  new_store "$store"
  "$session" "$store" || fail "the set-up on the stick failed with status $?"
  step "three copies register 12 each at once"
  for tag in sa sb sc; do start_copy - "$store" 12 "$tag"; done
  finish_copies
  verify "$store" "$store" 0
  step "sign-in"
  greeting=$("$session" "$store" sb-11 "pw sb-11") || fail "sb-11 could not sign in: status $?"
  [ "$greeting" = "Welcome Name sb-11" ] || fail "sb-11 was greeted '$greeting'"
  status=0
  "$session" "$store" sb-11 "pw sa-11" >/dev/null || status=$?
  [ "$status" -eq 1 ] || fail "a wrong password was answered with status $status"
  step "a copy killed while registering, three times, then one registering after"
  for round in 1 2 3; do
    start_copy - "$store" 1000 "k$round"
    if kill_copy_after 0 $((round * 2)); then kills=$((kills + 1)); fi
    finish_copies
  done
  start_copy - "$store" 5 after
  finish_copies
  verify "$store" "$store" "$kills"
  step "a store that Windows wrote, in capitals"
  mkdir -p "$windows/QK"
  rtf 1 >"$windows/NUM.QK"
  rtf 2 >"$windows/QK/NUM.QK"
  for user in 0 1; do
    rtf "Name w-$user" >"$windows/QK/MNP%QK ${user}DN.QK"
    rtf "$((30 + user))" >"$windows/QK/MAP%QK ${user}DA.QK"
    rtf "w-$user@example.org" >"$windows/QK/MEP%QK ${user}DE.QK"
    rtf "w-$user" >"$windows/QK/MUP%QK ${user}DU.QK"
    rtf "pw w-$user" >"$windows/QK/MPP%QK ${user}DP.QK"
  done
  "$qkstore" check "$windows" >"$SANDBOX/check.out" 2>&1 ||
    fail "qkstore check of the Windows store: $(cat "$SANDBOX/check.out")"
  [ "$("$qkstore" list "$windows" | tail -n +2 | cut -f2 | tr '\n' ,)" = "Name w-0,Name w-1," ] ||
    fail "qkstore list of the Windows store: $("$qkstore" list "$windows" 2>&1)"
  greeting=$("$session" "$windows" w-1 "pw w-1") || fail "w-1 could not sign in: status $?"
  [ "$greeting" = "Welcome Name w-1" ] || fail "w-1 was greeted '$greeting'"
}

case $part in
  machines) machines ;;
  exfat)
    truncate -s 64M "$SANDBOX/stick.img"
    mkfs.exfat "$SANDBOX/stick.img" >/dev/null
    # exfat-fuse mounts block devices only. -d keeps it in the foreground, ours to
    # stop; it logs every call to our log.
    sandbox_loop "$SANDBOX/stick.img"
    sandbox_fuse "$SANDBOX/stick" mount.exfat-fuse -d "$SANDBOX_LOOP" "$SANDBOX/stick"
    stick "$SANDBOX/stick"
    ;;
  fat32)
    truncate -s 64M "$SANDBOX/stick.img"
    mkfs.vfat -F 32 "$SANDBOX/stick.img" >/dev/null
    sandbox_fuse "$SANDBOX/stick" fusefat -f -o rw+ "$SANDBOX/stick.img" "$SANDBOX/stick"
    stick "$SANDBOX/stick"
    ;;
esac
step "done: $failures failures"
[ "$failures" -eq 0 ]
