#!/usr/bin/env bash
# Sign-in on a share, against the least it could cost there. The build's
# `sharedbench` runs it with the programs it times:
#   sharedbench.sh MAKESTORE SIGNINONCE QKSTORE EXACTREADS PARALLELREADS DELAYPROXY
# Stores of 300 and 1,000 users (bench_makestore) lie in a directory that sshfs
# mounts from a private SSH server on 127.0.0.1, through delayproxy, which holds
# every chunk 1 ms each way: a 2 ms round trip, a share across a building. Through
# that mount, each a fresh process: the sign-in of the last user (signinonce, the
# game's start and one attempt), `qkstore list`, and the sign-in's files read by
# their exact names one at a time (exactreads) and 32 at a time (parallelreads).
# Prints the median of several runs, and each median's ratio to the 32-thread reader.
# Needs root, /dev/fuse, sshd, sshfs (as tests/accounts/sharedstore does).
#   SHAREDBENCH_USERS   store sizes (default "300 1000")
#   SHAREDBENCH_RUNS    runs of each (default 3)
#   SHAREDBENCH_DELAY_US  the proxy's hold each way (default 1000)
#   SANDBOX_SSHFS_OPTIONS  the mount's cache options (see tools/sshfs-sandbox.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ne 6 ]; then
  echo "usage: sharedbench.sh MAKESTORE SIGNINONCE QKSTORE EXACTREADS PARALLELREADS DELAYPROXY" >&2
  exit 2
fi
makestore=$1 signinonce=$2 qkstore=$3 exactreads=$4 parallelreads=$5 delayproxy=$6
# shellcheck source=../../tools/sshfs-sandbox.sh
source "$here/../../tools/sshfs-sandbox.sh"
missing=$(sandbox_missing)
[ -z "$missing" ] || { echo "sharedbench: needs $missing" >&2; exit 1; }
sandbox_private_mounts "$here/$(basename "$0")" "$@"
sandbox_init
users_list=${SHAREDBENCH_USERS:-300 1000}
runs=${SHAREDBENCH_RUNS:-3}
delay=${SHAREDBENCH_DELAY_US:-1000}

sandbox_sshd
"${SANDBOX_ORPHANS_DIE[@]}" "$delayproxy" "$SANDBOX_SSH_PORT" "$delay" >"$SANDBOX/proxy.port" &
sandbox_server $!
for _ in $(seq 1 100); do [ -s "$SANDBOX/proxy.port" ] && break; sleep 0.05; done
proxy_port=$(head -n 1 "$SANDBOX/proxy.port")
mkdir "$SANDBOX/server"
sandbox_sshfs "$SANDBOX/server" "$SANDBOX/share" "$proxy_port"

seconds() {  # seconds COMMAND...: how long COMMAND took; fails with it
  local start=$EPOCHREALTIME
  "$@" >/dev/null || { echo "sharedbench: failed ($?): $*" >&2; return 1; }
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f\n", b - a }'
}
median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

measure() {  # measure WHAT: seconds one run of WHAT took on the current store
  case $1 in
    parallel) seconds "$parallelreads" "$store" "$users" 32 ;;
    exact) seconds "$exactreads" "$store" signin "$users" ;;
    signin) seconds "$signinonce" "$store" "user$last" "pass word $last" ;;
    list) seconds "$qkstore" list "$store" ;;
  esac
}
whats=(parallel exact signin list)
declare -A label=([parallel]="32 reads in flight (parallelreads)"
  [exact]="one read at a time (exactreads)" [signin]="sign-in (signinonce)"
  [list]="qkstore list")

echo "sign-in on a share: sshfs ($SANDBOX_SSHFS_OPTIONS) through a proxy holding each chunk ${delay} us each way"
width=$((7 * runs > 9 ? 7 * runs : 9)) # the runs column: "12.345 " a run
printf '%-6s %-34s %9s  %-*s %s\n' users what "median s" "$width" "runs (s)" "x 32-thread reader"
for users in $users_list; do
  "$makestore" "$SANDBOX/server/s$users" "$users"
  store=$SANDBOX/share/s$users
  last=$((users - 1))
  declare -A times=()
  measure parallel >/dev/null # a first pass, untimed
  # Runs interleaved, so that a slow spell of the machine weighs on all alike.
  for run in $(seq 1 "$runs"); do
    for what in "${whats[@]}"; do times[$what]="${times[$what]:-} $(measure "$what")"; done
  done
  # shellcheck disable=SC2086
  base=$(median ${times[parallel]})
  for what in "${whats[@]}"; do
    # shellcheck disable=SC2086
    m=$(median ${times[$what]})
    printf '%-6s %-34s %9.2f  %-*s %.1fx\n' "$users" "${label[$what]}" "$m" "$width" "${times[$what]# }" \
      "$(awk -v m="$m" -v b="$base" 'BEGIN { print m / b }')"
  done
  unset times
done
