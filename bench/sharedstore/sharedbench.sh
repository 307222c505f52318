#!/usr/bin/env bash
# Sign-in and registration on a share, against the least they could cost there.
# The build's `sharedbench` runs it with the programs it times:
#   sharedbench.sh MAKESTORE SIGNINONCE QKSTORE EXACTREADS PARALLELREADS DELAYPROXY
#                  REGISTERONE [REGISTER_HELPER SESSION_HELPER RACE_HELPER]
# Stores of 300 and 1,000 users (bench_makestore) lie in a directory that sshfs
# mounts from a private SSH server on 127.0.0.1, through delayproxy, which holds
# every chunk 1 ms each way: a 2 ms round trip, a share across a building. Through
# that mount, each a fresh process: the sign-in of the last user (signinonce, the
# game's start and one attempt), `qkstore list`, and the sign-in's files read by
# their exact names one at a time (exactreads) and 32 at a time (parallelreads).
# Prints the median of several runs, and each median's ratio to the 32-thread reader.
# Then, against goals:
#   - the first start (signinonce) on a 300-user store whose files are not yet
#     private (files 0644, folders 0755, as a store copied in or made by an older
#     version), a new such store each run: at most 3x the 32-thread reader;
#   - later starts on that store, once the first has mended it: at most 1.5x;
#   - one registration (registerone, a whole process): at most 0.15 s.
# Last, with the shared-store stage's helpers, the stage's kills part: a copy
# registering on a local disk killed at random moments, SHAREDBENCH_KILLS times
# (default 1000): no file may be left torn.
# Needs root, /dev/fuse, sshd, sshfs (as tests/accounts/sharedstore does).
#   SHAREDBENCH_USERS   store sizes (default "300 1000")
#   SHAREDBENCH_RUNS    runs of each (default 3); registrations: SHAREDBENCH_REGISTRATIONS (9)
#   SHAREDBENCH_DELAY_US  the proxy's hold each way (default 1000)
#   SHAREDBENCH_KILLS   kills (default 1000; 0: none)
#   SANDBOX_SSHFS_OPTIONS  the mount's cache options (see tools/sshfs-sandbox.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ne 7 ] && [ $# -ne 10 ]; then
  echo "usage: sharedbench.sh MAKESTORE SIGNINONCE QKSTORE EXACTREADS PARALLELREADS DELAYPROXY" \
    "REGISTERONE [REGISTER_HELPER SESSION_HELPER RACE_HELPER]" >&2
  exit 2
fi
makestore=$1 signinonce=$2 qkstore=$3 exactreads=$4 parallelreads=$5 delayproxy=$6
registerone=$7 stage_helpers=("${@:8}")
# shellcheck source=../../tools/sshfs-sandbox.sh
source "$here/../../tools/sshfs-sandbox.sh"
missing=$(sandbox_missing)
[ -z "$missing" ] || { echo "sharedbench: needs $missing" >&2; exit 1; }
sandbox_private_mounts "$here/$(basename "$0")" "$@"
sandbox_init
users_list=${SHAREDBENCH_USERS:-300 1000}
runs=${SHAREDBENCH_RUNS:-3}
registrations=${SHAREDBENCH_REGISTRATIONS:-9}
kills=${SHAREDBENCH_KILLS:-1000}
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

ratio() {  # ratio A B: A / B, to one decimal
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'
}
verdict() {  # verdict VALUE GOAL: whether VALUE is within GOAL
  awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "met" : "NOT met" }'
}
loose() {  # loose DIR: the store's files open to others, as before they were made private
  find "$1" -type d -exec chmod 0755 {} + && find "$1" -type f -exec chmod 0644 {} +
}

echo
echo "against the goals, on the same mount"
users=300 last=299
first=() later=() parallel=() left=() registered=()
for run in $(seq 1 "$runs"); do
  # A new loose store each run: only the first start on it finds its files loose.
  rm -rf "$SANDBOX/server/loose"
  "$makestore" "$SANDBOX/server/loose" "$users"
  loose "$SANDBOX/server/loose"
  store=$SANDBOX/share/loose
  parallel+=("$(measure parallel)")
  first+=("$(measure signin)")
  left+=("$(find "$SANDBOX/server/loose" -perm /0077 | wc -l)")
  later+=("$(measure signin)")
done
base=$(median "${parallel[@]}")
m_first=$(median "${first[@]}")
m_later=$(median "${later[@]}")
for run in $(seq 1 "$registrations"); do
  store=$SANDBOX/share/s300
  [ -d "$SANDBOX/server/s300" ] || "$makestore" "$SANDBOX/server/s300" 300
  registered+=("$(seconds "$registerone" "$store" "bench$run")")
done
m_reg=$(median "${registered[@]}")
printf '%-52s %9s  %-*s %s\n' what "median s" "$width" "runs (s)" "goal"
printf '%-52s %9.2f  %-*s\n' "32 reads in flight, loose 300-user store" "$base" "$width" "${parallel[*]}"
printf '%-52s %9.2f  %-*s %sx of 32 reads, goal <= 3x: %s\n' \
  "first start on it (signinonce), files 0644" "$m_first" "$width" "${first[*]}" \
  "$(ratio "$m_first" "$base")" "$(verdict "$(ratio "$m_first" "$base")" 3)"
printf '%-52s %9.2f  %-*s %sx of 32 reads, goal <= 1.5x: %s\n' \
  "a later start on the same store" "$m_later" "$width" "${later[*]}" \
  "$(ratio "$m_later" "$base")" "$(verdict "$(ratio "$m_later" "$base")" 1.5)"
echo "   entries still open to others after each first start: ${left[*]}"
printf '%-52s %9.3f  %s\n' "one registration (registerone), $registrations runs" "$m_reg" \
  "goal <= 0.15 s: $(verdict "$m_reg" 0.15)"
echo "   runs (s): ${registered[*]}"

if [ "$kills" -gt 0 ]; then
  echo
  if [ "${#stage_helpers[@]}" -eq 3 ] && [ -n "${stage_helpers[0]}" ]; then
    echo "crash safety: the shared-store stage's kills part, $kills kills"
    SHAREDSTORE_KILLS=$kills SHAREDSTORE_BUDGET=$((kills + 120)) \
      "$here/../../tests/accounts/sharedstore/sharedstore.sh" kills "${stage_helpers[0]}" \
      "${stage_helpers[1]}" "$qkstore" "${stage_helpers[2]}" | grep -v '^   copy x' || true
  else
    echo "crash safety: not run: the build has no shared-store stage helpers (tests off)"
  fi
fi
