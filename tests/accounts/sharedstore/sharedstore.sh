#!/usr/bin/env bash
# One store shared the ways players share it, driven with the game's own store code.
#   sharedstore.sh PART REGISTER_HELPER SESSION_HELPER QKSTORE RACE_HELPER
#   machines  three machines: one directory mounted three times with sshfs through a
#             private SSH server, each copy of the game under a host name of its own;
#             rounds of three copies registering at once while players sign in, then
#             a copy killed midway through registering while the other two go on
#   samba     the same through three smbnetfs mounts of a private Samba share, after
#             races of 100 processes for one new name (mkdir, the lock's exclusive
#             step, must have one winner; O_CREAT|O_EXCL is counted, for information)
#   exfat, fat32  a stick: a new store set up on an image mounted through exfat-fuse or
#             fusefat, copies registering at once, sign-in, copies killed midway, a
#             store that Windows wrote in capitals
#   group     a lab's folder: made by root (the teacher) for a group, mode 2770; two
#             pupils, throwaway Unix accounts of that group, register and sign in
#   kills     a copy killed at random moments while it registers on a local disk,
#             SHAREDSTORE_KILLS times (default 100); no file may be left torn
# After each step: every registration a copy confirmed is there with all five files
# holding its values, no number is confirmed twice, the counter counts the
# registrations, no temporaries are left, `qkstore check` finds nothing wrong, and
# no copy ended in an error or gave up waiting. Every round starts on a store of its
# own, so that a round costs the same however many came before; each waits for
# what it needs, each copy and each part within a bound. A fault of the mount
# itself (an I/O error, a mount that no longer answers) is counted and named as the
# client's, apart from the store's. Exits 77 (skipped), saying what is missing,
# where it cannot run.
#   SHAREDSTORE_ROUNDS, SHAREDSTORE_EACH  rounds, and registrations per copy a round
#   SHAREDSTORE_RACES                     races of each kind (samba)
#   SHAREDSTORE_BUDGET                    seconds the part may take in all
set -Eeuo pipefail
here=$(cd "$(dirname "$0")" && pwd)
script=$here/$(basename "$0")
part=${1:-}
register=${2:-}
session=${3:-}
qkstore=${4:-}
race=${5:-}
# shellcheck source=../../../tools/sshfs-sandbox.sh
source "$here/../../../tools/sshfs-sandbox.sh"
# shellcheck source=../../../tools/smb-sandbox.sh
source "$here/../../../tools/smb-sandbox.sh"
# What a part needs, and its bound: about twice what it takes on a loaded
# two-core machine.
case $part in
  machines) needs=(hostname) budget=300 ;;
  # smbnetfs answers a good deal more slowly than sshfs, and now and then hangs,
  # which costs a copy's bound and a round run again.
  samba) needs=(hostname timeout "${SANDBOX_SMB_NEEDS[@]}") budget=780 rounds=2 each=15 copy_bound=150 ;;
  exfat) needs=(mkfs.exfat mount.exfat-fuse losetup /dev/loop-control) budget=120 ;;
  fat32) needs=(mkfs.vfat fusefat) budget=120 ;;
  group) needs=(hostname useradd userdel groupadd groupdel) budget=120 ;;
  kills) needs=() budget=300 ;;
  *)
    echo "usage: sharedstore.sh machines|samba|exfat|fat32|group|kills" \
      "REGISTER_HELPER SESSION_HELPER QKSTORE RACE_HELPER" >&2
    exit 2
    ;;
esac
missing=$(sandbox_missing "${needs[@]}")
if [ -n "$missing" ]; then
  echo "sharedstore $part: skipped: needs $missing (tools/setup.sh installs the packages; run as root)"
  exit 77
fi
sandbox_private_mounts "$script" "$@"
sandbox_init
trap 'echo "sharedstore: stopped by a failing command, line $LINENO: $BASH_COMMAND" >&2' ERR
rounds=${SHAREDSTORE_ROUNDS:-${rounds:-3}}
each=${SHAREDSTORE_EACH:-${each:-40}}
budget=${SHAREDSTORE_BUDGET:-$budget}
# A copy's registrations, and a sign-in: far beyond what they take, short of
# the part's bound.
copy_bound=${copy_bound:-$((budget / 3))}
signin_bound=60

# Ends the stage, everything undone, before CTest's timeout would kill it where no
# trap runs. A builtin read waits, so that no sleeping process outlives it; nothing
# is ever written to the pipe it reads.
mkfifo "$SANDBOX/never"
exec {never}<>"$SANDBOX/never"
"${SANDBOX_ORPHANS_DIE[@]}" bash -c 'read -r -t "$0" <>"$1" ||
  { echo "sharedstore: still running after $0 s: stopped" >&2 && kill -TERM "$2"; }' \
  "$budget" "$SANDBOX/never" $$ &
sandbox_track $!
pause() {  # pause SECONDS: waits, forking nothing
  read -r -t "$1" -u "$never" _ || true
}

started=$SECONDS
step() {
  echo "== [$((SECONDS - started))s] $part: $*"
}
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# What the part saw in all, for its last line.
all_confirmed=0 all_lost=0 all_twice=0 all_gaveup=0 all_faults=0 all_torn=

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
# Before and after the value in every document.
# shellcheck disable=SC2059
printf -v _whole "$document" $'\001'
document_head=${_whole%%$'\001'*}
document_tail=${_whole#*$'\001'}
whole() {  # whole FILE: whether FILE is one whole document of some one-line value
  local bytes= value
  IFS= read -r -d '' bytes <"$1" 2>/dev/null || true
  [ "${bytes#"$document_head"}" != "$bytes" ] && [ "${bytes%"$document_tail"}" != "$bytes" ] ||
    return 1
  value=${bytes#"$document_head"}
  value=${value%"$document_tail"}
  [ -n "$value" ] && [[ $value != *[$'\r\n']* ]]
}

# Host names, and the account a copy runs as (the group part's pupils).
as_user=()
machine() {  # machine NAME: sets `on` to the command prefix that runs as host NAME
  # Each execs what it runs: the program keeps the process id.
  on=("${SANDBOX_ORPHANS_DIE[@]}")
  [ "$1" = - ] || on+=(unshare --uts sh -c 'hostname "$0" && exec "$@"' "$1")
  on+=("${as_user[@]}")
}

# Whether a message tells of the mount failing rather than the store.
client_fault='Input/output error|Transport endpoint is not connected|Software caused connection abort|Connection reset'
# smbnetfs, loaded, answers a lookup of a file that is there with "no such file"
# now and then: a sign-in through it may find users without files that the
# server holds whole. What the server holds, checked after every round, decides
# what was lost; what a sign-in through such a mount saw is the client's.
[ "$part" != samba ] || client_fault="$client_fault|have no files|No such file or directory"

# Registrations confirmed on the current store: "NUMBER TAG-k" lines.
confirmed=$SANDBOX/confirmed
copies=()
dirs=()
tags=()
births=()
watched=()
killed=
overdue=
birth_of() {  # sets `birth` to when process PID started, empty once it has ended
  local stat fields
  birth=
  read -r stat 2>/dev/null <"/proc/$1/stat" || return 0
  # The fields after the command's name, which may hold anything: state first.
  read -r -a fields <<<"${stat##*) }"
  [ "${fields[0]}" != Z ] && birth=${fields[19]}
}
start_copy() {  # start_copy MACHINE DIR COUNT TAG [watched]: a copy registering, in the background
  # A watched copy's confirmations come through a pipe that the stage reads as
  # they come, and that ends when the copy does; the others' go straight to a file.
  local fd= pid
  machine "$1"
  : >"$SANDBOX/copy.$4"
  if [ "${5:-}" = watched ]; then
    exec {fd}< <(exec "${on[@]}" "$register" "$2" "$3" "$4" 2>"$SANDBOX/copy.$4.err")
    pid=$!
  else
    "${on[@]}" "$register" "$2" "$3" "$4" >>"$SANDBOX/copy.$4" 2>"$SANDBOX/copy.$4.err" &
    pid=$!
  fi
  copies+=("$pid")
  dirs+=("$2")
  tags+=("$4")
  watched+=("$fd")
  birth_of "$pid"
  births+=("$birth")
  sandbox_track "$pid"
}
next_line() {  # next_line INDEX: waits for watched copy INDEX's next confirmation, sets `line`
  local until=$((SECONDS + copy_bound))
  while [ "$SECONDS" -lt "$until" ]; do
    if IFS= read -r -t 1 -u "${watched[$1]}" line; then
      echo "$line" >>"$SANDBOX/copy.${tags[$1]}"
      return 0
    fi
    running "$1" || return 1
  done
  return 1
}
arm() {  # arm SECONDS PID...: those still running after SECONDS are killed and counted overdue
  # One that outlives SIGKILL hangs in a mount that no longer answers: the FUSE
  # file systems are then ended, which fails what waits in them, and the mounts
  # are counted hung.
  rm -f "$SANDBOX/overdue"
  "${SANDBOX_ORPHANS_DIE[@]}" bash -c 'read -r -t "$0" <>"$1" && exit
    touch "$2"
    copies=("${@:4:$3}") fuse=("${@:$(($3 + 4))}")
    kill -KILL "${copies[@]}" 2>/dev/null
    read -r -t 10 <>"$1"
    for pid in "${copies[@]}"; do
      read -r stat 2>/dev/null <"/proc/$pid/stat" || continue
      [[ ${stat##*) } == Z* ]] && continue
      touch "$2.hung" && kill -KILL "${fuse[@]}" 2>/dev/null && exit
    done' \
    "$1" "$SANDBOX/never" "$SANDBOX/overdue" $(($# - 1)) "${@:2}" "${SANDBOX_FUSE_PIDS[@]}" &
  overdue=$!
  sandbox_track "$overdue"
}
disarm() {
  [ -n "$overdue" ] || return 0
  kill "$overdue" 2>/dev/null || true
  wait "$overdue" 2>/dev/null || true
  sandbox_untrack "$overdue"
  overdue=
}
finish_copies() {  # waits for the copies; fails on those that gave up or ended in an error
  local i status tag fd errors gaveup faults first
  [ -n "$overdue" ] || arm "$copy_bound" "${copies[@]}"
  for i in "${!copies[@]}"; do
    tag=${tags[i]}
    status=0
    wait "${copies[i]}" 2>/dev/null || status=$?
    sandbox_untrack "${copies[i]}"
    fd=${watched[i]}
    if [ -n "$fd" ]; then
      cat <&"$fd" >>"$SANDBOX/copy.$tag"
      exec {fd}<&-
    fi
    cat "$SANDBOX/copy.$tag" >>"$confirmed"
    gaveup=$(grep -c '^gave up: ' "$SANDBOX/copy.$tag.err" || true)
    faults=$(grep -v '^gave up: ' "$SANDBOX/copy.$tag.err" | grep -c -E "$client_fault" || true)
    errors=$(($(wc -l <"$SANDBOX/copy.$tag.err") - gaveup - faults))
    all_gaveup=$((all_gaveup + gaveup))
    all_faults=$((all_faults + faults))
    if [ -s "$SANDBOX/copy.$tag.err" ] || { [ "$status" -ne 0 ] && [ "${copies[i]}" != "$killed" ]; }; then
      echo "   copy $tag: $(wc -l <"$SANDBOX/copy.$tag") confirmed, $gaveup gave up waiting," \
        "$faults failed in the mount, $errors failed in the store; status $status"
      [ "$faults" -eq 0 ] || echo "     the mount said: $(grep -v '^gave up: ' "$SANDBOX/copy.$tag.err" |
        grep -m 1 -E "$client_fault")"
    fi
    # What such a copy could not remove through its failing mount is the client's.
    [ "$faults" -eq 0 ] || echo "${copies[i]}" >>"$SANDBOX/faulted"
    [ "$gaveup" -eq 0 ] || fail "copy $tag gave up waiting $gaveup times while others registered:" \
      "$(grep -m 1 '^gave up: ' "$SANDBOX/copy.$tag.err")"
    first=$(grep -v '^gave up: ' "$SANDBOX/copy.$tag.err" | grep -m 1 -v -E "$client_fault" || true)
    if [ "${copies[i]}" = "$killed" ]; then
      :
    elif [ -e "$SANDBOX/overdue.hung" ] && [ "$status" -eq 137 ]; then
      all_faults=$((all_faults + 1))
      echo "   client fault: copy $tag hung in a mount that no longer answered"
    elif [ -e "$SANDBOX/overdue" ] && [ "$status" -eq 137 ]; then
      client_or_store "copy $tag did not finish within $copy_bound s" "${dirs[i]}"
    elif [ "$errors" -gt 0 ] || { [ "$status" -ne 0 ] && [ "$status" -ne 3 ] && [ "$faults" -eq 0 ]; }; then
      fail "copy $tag ended with status $status, $errors registrations failed; first: $first"
    fi
  done
  disarm
  killed=
  copies=()
  dirs=()
  tags=()
  births=()
  watched=()
}
answers() {  # answers DIR: whether DIR, in a mount, answers within 10 s
  (timeout -s KILL 10 stat "$1" >/dev/null 2>&1) 2>/dev/null
}
client_or_store() {  # client_or_store WHAT [SEEN]: a copy stopped at its bound: whose fault
  # A mount that no longer answers is the client's: the store cannot be blamed.
  # The FUSE file systems are ended, which fails what still waits in them, and
  # the part goes on, if it can, on new mounts.
  if [ -n "${2:-}" ] && ! answers "$2"; then
    all_faults=$((all_faults + 1))
    echo "   client fault: $1, and $2 no longer answers"
    touch "$SANDBOX/overdue.hung"
    kill -KILL "${SANDBOX_FUSE_PIDS[@]}" 2>/dev/null || true
  else
    fail "$1"
  fi
}
running() {  # running INDEX: whether copy INDEX runs, not a process that reuses its id
  birth_of "${copies[$1]}"
  [ -n "$birth" ] && [ "$birth" = "${births[$1]}" ]
}
kill_copy_after() {  # kill_copy_after INDEX N: SIGKILL for watched copy INDEX in its write after the Nth
  local tag=${tags[$1]} until when="not seen writing" line k
  killed=${copies[$1]}
  for ((k = 0; k < $2; k++)); do next_line "$1" || break; done
  # The hardest moment: while it holds the store's lock and writes a file.
  until=$((SECONDS + 5))
  while [ "$SECONDS" -lt "$until" ] && running "$1"; do
    if [ -n "$(find "/proc/$killed/fd" \( -lname '*/.*.tmp-*' -o -lname '*%qk *' \) -print -quit 2>/dev/null)" ]; then
      when="while writing"
      break
    fi
  done
  if running "$1" && kill -KILL "$killed" 2>/dev/null; then
    echo "   $tag killed $when, after $k or more confirmed registrations"
    return 0
  fi
  if [ "$part" = machines ] || [ "$part" = samba ] &&
    grep -q -E "$client_fault" "$SANDBOX/copy.$tag.err"; then
    all_faults=$((all_faults + 1))
    echo "   client fault: copy $tag ended before it could be killed, its mount failing it"
    touch "$SANDBOX/overdue.hung"
    return 1
  fi
  fail "copy $tag ended before it could be killed"
  return 1
}

# Players signing in while copies register: each sign-in a fresh start of the game
# that must find the account and greet it by name, passing no account over.
signing=()
signing_on=()
signing_dirs=()
start_signins() {  # start_signins MACHINE DIR USER
  local log=$SANDBOX/signins.$1
  machine "$1"
  rm -f "$SANDBOX/stop-signins"
  (
    trap '[ -n "${helper:-}" ] && kill -TERM "$helper" 2>/dev/null && { wait "$helper" 2>/dev/null || true; }
      exit 143' TERM
    ok=0 bad=0
    while [ ! -e "$SANDBOX/stop-signins" ] && kill -0 $$ 2>/dev/null; do
      timeout -s KILL "$signin_bound" "${on[@]}" "$session" "$2" "$3" "pw $3" >"$log.out" 2>>"$log.err" &
      helper=$!
      status=0
      wait "$helper" 2>/dev/null || status=$?
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
  signing_dirs+=("$2")
  sandbox_track $!
}
finish_signins() {
  local pid name ok bad faults i
  touch "$SANDBOX/stop-signins"
  arm $((signin_bound + 30)) "${signing[@]}"
  for pid in "${signing[@]}"; do
    wait "$pid" || true
    sandbox_untrack "$pid"
  done
  disarm
  for i in "${!signing_on[@]}"; do
    name=${signing_on[i]}
    ok=0 bad=0
    if ! read -r ok bad 2>/dev/null <"$SANDBOX/signins.$name"; then
      client_or_store "the sign-ins on $name did not end" "${signing_dirs[i]}"
      continue
    fi
    faults=$(grep -c -E "$client_fault" "$SANDBOX/signins.$name.err" || true)
    # A sign-in stopped at its bound, in a mount that no longer answers; or any,
    # once the mounts hung and were ended.
    if [ -e "$SANDBOX/overdue.hung" ]; then
      faults=$bad
    elif ! answers "${signing_dirs[i]}"; then
      faults=$((faults + $(grep -c '^status 137,' "$SANDBOX/signins.$name.err" || true)))
    fi
    [ "$faults" -le "$bad" ] || faults=$bad
    echo "   sign-ins on $name: $ok found the player, $((bad - faults)) did not," \
      "$faults failed in the mount"
    all_faults=$((all_faults + faults))
    [ "$bad" -eq "$faults" ] ||
      fail "$((bad - faults)) sign-ins on $name failed: $(grep -v -E "$client_fault" "$SANDBOX/signins.$name.err" |
        sort | uniq -c | sort -rn | head -3)"
    rm -f "$SANDBOX/signins.$name"*
  done
  signing=()
  signing_on=()
  signing_dirs=()
}

verify() {  # verify DIR SEEN UNANNOUNCED: the store once every copy has ended
  # DIR: the working directory where its files lie (on the server, or the stick);
  # SEEN: the same as a machine sees it; UNANNOUNCED: how many registrations
  # killed copies may have completed without living to confirm them.
  local dir=$1 seen=$2 unannounced=$3 number id k lost=0 total twice counter users=0 file tmps status tries client
  total=$(wc -l <"$confirmed")
  [ -d "$dir/QK" ] || { fail "$dir/QK is missing" && return; }
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
  tmps=0
  for file in "$dir"/QK/.*.tmp-*; do  # NAME.tmp-HOST.BOOT.PID.UNIQUE
    [ -e "$file" ] || continue
    if grep -q -x "$(cut -d. -f3 <<<"${file##*.tmp-}")" "$SANDBOX/faulted"; then
      all_faults=$((all_faults + 1))
      echo "   client fault: ${file##*/} left by a copy whose mount failed it"
    else
      tmps=$((tmps + 1))
    fi
  done
  echo "   $total confirmed: $lost lost or damaged, $twice numbers given twice, counter $counter," \
    "files of $((users / 5)) users, $tmps temporaries"
  all_confirmed=$((all_confirmed + total))
  all_lost=$((all_lost + lost))
  all_twice=$((all_twice + twice))
  [ "$lost" -eq 0 ] || fail "$lost of $total confirmed accounts lost or damaged"
  [ "$twice" -eq 0 ] || fail "$twice user numbers confirmed to two registrations"
  if [ "$counter" = none ]; then
    fail "the counter does not count the $total registrations: $(head -c 200 "$dir/QK/num.qk" 2>&1 | tr '\r\n' '  ')"
  elif [ "$users" -ne $((5 * counter)) ]; then
    fail "the store holds $users user files for $counter users"
  fi
  # A killed copy's temporary waits until it is old enough to be proven abandoned.
  [ "$tmps" -eq 0 ] || [ "$unannounced" -gt 0 ] || fail "$tmps temporaries left behind"
  # Once more after a failure of the mount's own: an I/O error, or the store's
  # folder, there on the server, not found through the mount.
  for tries in 1 2; do
    status=0 client=0
    timeout -s KILL 120 "$qkstore" check "$seen" >"$SANDBOX/check.out" 2>&1 || status=$?
    [ "$status" -ne 0 ] && [ "$status" -ne 137 ] &&
      grep -q -E "$client_fault|Cannot open $seen: No such file" "$SANDBOX/check.out" || break
    client=1
    all_faults=$((all_faults + 1))
    echo "   client fault: qkstore check: $(head -n 1 "$SANDBOX/check.out")"
  done
  if [ "$status" -eq 137 ]; then
    client_or_store "qkstore check did not finish within 120 s" "$seen"
  elif [ "$status" -ne 0 ] && [ "$client" -eq 0 ]; then
    fail "qkstore check: $(grep -v '^note:' "$SANDBOX/check.out" | head -5)"
  fi
}

new_store() {  # new_store DIR: a working directory as a new player's first start finds it
  mkdir -p "$1"
  rtf 0 >"$1/num.qk"
  : >"$confirmed"
  : >"$SANDBOX/faulted"
}

machines() {  # machines SERVER: rounds on three machines' mounts of SERVER, `points`
  # A round whose mounts hung, or failed the copy to be killed, is the client's
  # fault: it is run again, at most twice in a part, on new mounts (`remount`),
  # on a store of its own again.
  local server=$1 round i store hung=0 at=0
  local names=(machine-a machine-b machine-c) list
  read -r -a list <<<"$(seq 1 "$rounds" | tr '\n' ' ') kill"
  while [ "$at" -lt "${#list[@]}" ]; do
    round=${list[at]}
    if [ -e "$SANDBOX/overdue.hung" ]; then
      hung=$((hung + 1))
      [ "$hung" -le 2 ] || { fail "the mounts hung or failed three times (the client's fault): the part stops" && return; }
      rm -f "$SANDBOX/overdue.hung"
      remount
      step "the mounts hung or failed (the client's fault): the round again, on new mounts"
    fi
    if [ "$round" = kill ]; then
      step "a copy on machine-c killed while registering, while the others register"
    else
      step "round $round: a new store, set up through machine-a with a first player;" \
        "three machines register $each each at once, and sign in meanwhile"
    fi
    store=r$round.$hung
    new_store "$server/$store"
    machine machine-a
    timeout -s KILL "$signin_bound" "${on[@]}" "$session" "${points[0]}/$store" ||
      fail "the set-up failed with status $?"
    if [ "$round" = kill ]; then
      start_copy machine-a "${points[0]}/$store" "$each" ka
      start_copy machine-b "${points[1]}/$store" "$each" kb
      start_copy machine-c "${points[2]}/$store" "$each" kc watched
      arm "$copy_bound" "${copies[@]}"
      kill_copy_after 2 $((each / 4)) || true
      finish_copies
      # What the killed copy left is mended, or written over, by the next.
      start_copy machine-a "${points[0]}/$store" 3 after
      finish_copies
      [ -e "$SANDBOX/overdue.hung" ] && continue
      verify "$server/$store" "${points[0]}/$store" 1
    else
      start_copy machine-a "${points[0]}/$store" 1 "seed$round"
      finish_copies
      for i in 0 1 2; do
        start_copy "${names[i]}" "${points[i]}/$store" "$each" "r$round${names[i]#machine-}"
        start_signins "${names[i]}" "${points[i]}/$store" "seed$round-0"
      done
      finish_copies
      finish_signins
      [ -e "$SANDBOX/overdue.hung" ] && continue
      verify "$server/$store" "${points[(round - 1) % 3]}/$store" 0
    fi
    at=$((at + 1))
  done
}

mounts=0
sshfs_machines() {
  sandbox_sshd
  mkdir "$SANDBOX/server"
  remount
  machines "$SANDBOX/server"
}

samba() {
  local races=${SHAREDSTORE_RACES:-30} kind n double none faults first
  mkdir "$SANDBOX/share"
  sandbox_smbd "$SANDBOX/share"
  remount
  step "$races races of 100 processes through the three mounts for one new name"
  mkdir "$SANDBOX/share/race"
  timeout -s KILL $((budget / 3)) "$race" "$races" 100 "${points[@]/%//race}" \
    >"$SANDBOX/race.out" 2>"$SANDBOX/race.err" ||
    client_or_store "the races did not finish within $((budget / 3)) s" "${points[0]}"
  while read -r kind n double none faults first; do
    echo "   $kind: $double of $n races with two or more winners, $none with none," \
      "$faults processes failed in the mount${first:+ (first: $first)}"
    all_faults=$((all_faults + faults))
    # mkdir is the exclusive step the store may rely on; an exclusive create
    # through smbnetfs is known not to be exclusive, and is only counted.
    [ "$kind" != mkdir ] || [ "$double" -eq 0 ] || fail "mkdir had two or more winners in $double races"
  done <"$SANDBOX/race.out"
  [ ! -s "$SANDBOX/race.err" ] || echo "   the mount said: $(sort "$SANDBOX/race.err" | cut -d: -f2- | uniq -c | head -3)"
  rm -rf "$SANDBOX/share/race"
  machines "$SANDBOX/share"
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
    start_copy - "$store" 1000 "k$round" watched
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

# The group part's accounts: made here, marked as this stage's, removed at exit;
# any left by a run killed outright are removed first.
class=mlpupils
pupils=(mlpupil1 mlpupil2)
mark="mindlark shared-store stage pupil"
throwaway_accounts() {
  local user
  for user in "${pupils[@]}"; do
    if id "$user" >/dev/null 2>&1; then
      [ "$(getent passwd "$user" | cut -d: -f5)" = "$mark" ] ||
        { echo "sharedstore group: the account $user exists and is not this stage's" >&2 && return 1; }
      userdel "$user"
    fi
  done
  if getent group "$class" >/dev/null; then
    [ -z "$(getent group "$class" | cut -d: -f4)" ] ||
      { echo "sharedstore group: the group $class exists and has members" >&2 && return 1; }
    groupdel "$class"
  fi
  groupadd "$class"
  sandbox_at_exit groupdel "$class"
  for user in "${pupils[@]}"; do
    # No home made; the group of all users first, as a lab's accounts have.
    useradd -M -N -g users -G "$class" -c "$mark" -s /usr/sbin/nologin "$user"
    sandbox_at_exit userdel "$user"
  done
}
as_pupil() {  # as_pupil N: the prefix that runs a command as pupil N, in a home of their own
  local user=${pupils[$1 - 1]}
  install -d -m 0700 -o "$user" -g users "$SANDBOX/home$1"
  as_user=(env -i PATH=/usr/bin:/bin HOME="$SANDBOX/home$1" LANG=C.UTF-8
    setpriv --reuid="$user" --regid=users --init-groups --pdeathsig KILL)
}
group() {
  local lab=$SANDBOX/lab bin=$SANDBOX/bin status greeting wrong n player
  throwaway_accounts
  # The helpers where the pupils may run them: the build may lie in root's home.
  install -d -m 0755 "$bin"
  install -m 0755 "$register" "$session" "$bin/"
  register=$bin/$(basename "$register") session=$bin/$(basename "$session")
  install -d -m 2770 -o root -g "$class" "$lab"
  rtf 0 >"$SANDBOX/marker"
  : >"$confirmed"
  umask 0022
  step "pupil 1 starts the game on the folder the teacher made, and registers"
  as_pupil 1
  machine lab-1
  status=0
  # The launcher's first start: the shipped marker copied in, made private.
  "${on[@]}" sh -c 'cp "$0" "$1/num.qk" && chmod 0600 "$1/num.qk" && exec "$2" "$1"' \
    "$SANDBOX/marker" "$lab" "$session" 2>"$SANDBOX/setup.err" || status=$?
  [ "$status" -eq 0 ] || fail "pupil 1's start failed with status $status: $(head -c 300 "$SANDBOX/setup.err")"
  start_copy lab-1 "$lab" 3 p1
  finish_copies
  step "pupil 2 registers on the same store"
  as_pupil 2
  start_copy lab-2 "$lab" 3 p2
  finish_copies
  step "both register at once, then each signs in as one of the other's players"
  as_pupil 1
  start_copy lab-1 "$lab" 5 q1
  as_pupil 2
  start_copy lab-2 "$lab" 5 q2
  finish_copies
  for pair in "1 p2-0" "2 p1-0"; do
    read -r n player <<<"$pair"
    as_pupil "$n"
    machine "lab-$n"
    status=0
    greeting=$("${on[@]}" "$session" "$lab" "$player" "pw $player" 2>"$SANDBOX/signin.err") || status=$?
    [ "$status" -eq 0 ] && [ "$greeting" = "Welcome Name $player" ] ||
      fail "pupil $n signing in as $player: status $status, greeted '$greeting':" \
        "$(head -c 300 "$SANDBOX/signin.err")"
  done
  as_user=()
  # What git's core.sharedRepository=group gives a group: read and write for it,
  # nothing for others, the folder's group on everything.
  wrong=$(find "$lab" \( -type f \( ! -perm -0660 -o -perm /0007 \) \) -o \
    \( -type d \( ! -perm -2770 -o -perm /0007 \) \) -o ! -group "$class" |
    while IFS= read -r file; do stat -c '%A %G %n' "$file"; done)
  [ -z "$wrong" ] || fail "not open to the group alone: $(head -n 5 <<<"$wrong" | sed "s|$lab/||")"
  verify "$lab" "$lab" 0
}

kills() {
  local n=${SHAREDSTORE_KILLS:-100} per_store=100 store kill=0 t1 t2 span delay file torn=0 files
  step "a copy registering on a local disk killed $n times at random moments"
  while [ "$kill" -lt "$n" ]; do
    # A store of its own for each hundred kills: the cost of a kill stays the same.
    store=$SANDBOX/local/s$kill
    new_store "$store"
    "$session" "$store" || fail "the set-up failed with status $?"
    for ((k = 0; k < per_store && kill < n; k++, kill++)); do
      start_copy - "$store" 100000 "x$kill" watched
      # Between its second confirmation and two registrations' time later: any
      # moment of a registration, the lock's steps and the file writes alike.
      if next_line 0 && t1=${EPOCHREALTIME/./} && next_line 0; then
        t2=${EPOCHREALTIME/./}
        delay=$(((RANDOM * 32768 + RANDOM) % (2 * (t2 - t1) + 1)))
        pause "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
      else
        fail "copy x$kill confirmed no two registrations"
      fi
      killed=${copies[0]}
      running 0 && kill -KILL "$killed" 2>/dev/null || fail "copy x$kill ended before it could be killed"
      finish_copies
    done
    # What a killed copy left is mended, or written over, by the next.
    start_copy - "$store" 3 "after$kill"
    finish_copies
    files=0
    for file in "$store/num.qk" "$store/QK/num.qk" "$store"/QK/m??%qk\ *; do
      files=$((files + 1))
      whole "$file" || { torn=$((torn + 1)) && echo "   torn: ${file#"$store/"}"; }
    done
    echo "   store s$((kill - k)): $files files, $torn torn so far"
    verify "$store" "$store" "$k"
  done
  all_torn=$torn
  [ "$torn" -eq 0 ] || fail "$torn files torn"
}

remount() {  # three new mounts of the part's server; sets `points`
  local i
  points=()
  for i in 0 1 2; do
    mounts=$((mounts + 1))
    if [ "$part" = samba ]; then
      sandbox_smbnetfs "$SANDBOX/mount$mounts"
      points+=("$SANDBOX_SMB_SHARE")
    else
      sandbox_sshfs "$SANDBOX/server" "$SANDBOX/mount$mounts"
      points+=("$SANDBOX/mount$mounts")
    fi
  done
}

case $part in
  machines) sshfs_machines ;;
  samba) samba ;;
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
  group) group ;;
  kills) kills ;;
esac
echo "   in all: $all_confirmed confirmed, $all_lost lost, $all_twice numbers given twice," \
  "$all_gaveup gave up waiting, $all_faults client faults${all_torn:+, $all_torn torn files}"
step "done: $failures failures"
exit $((failures > 0))
