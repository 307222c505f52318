# Bash functions, sourced, that stand in for several machines sharing one
# directory: a private SSH server on 127.0.0.1 with throwaway keys, sshfs mounts
# of one directory through it, and other FUSE mounts (stick images). Whatever they
# start or mount is stopped and unmounted on every exit path of the sourcing
# script: sandbox_init installs traps on EXIT, INT and TERM.
#
#   sandbox_init                      a private temporary directory, $SANDBOX, and the traps
#   sandbox_private_mounts "$0" "$@"  re-runs the script in a mount namespace of its own,
#                                     so that even a killed script leaves no mount behind
#   sandbox_sshd                      starts sshd; sets SANDBOX_SSH_PORT
#   sandbox_sshfs DIR MOUNTPOINT [PORT]   mounts DIR (on this machine) through sshd,
#                                     or through whatever listens on PORT in front of it
#   sandbox_fuse MOUNTPOINT COMMAND...    runs a FUSE file system that stays in the
#                                     foreground (its last argument the mount point)
#   sandbox_loop IMAGE                sets SANDBOX_LOOP to a loop device over IMAGE,
#                                     detached once nothing holds it open any more
#   sandbox_track PID                 a process to stop at exit, before anything is
#                                     unmounted (one that uses the mounts)
#   sandbox_untrack PID               one that has ended and been waited for
#   sandbox_server PID                a process to stop at exit once all is unmounted
#                                     (one the mounts use, such as a proxy)
#   sandbox_missing [NEEDS...]        names what these functions (and NEEDS: commands,
#                                     device nodes) need and cannot find
#   sandbox_at_exit COMMAND...        a command to run at exit once all is stopped and
#                                     unmounted (one that undoes a change outside $SANDBOX)
#
# Samba (tools/smb-sandbox.sh, sourced after this file) adds a private smbd and
# smbnetfs mounts of its share.
#
# Nothing listens on anything but 127.0.0.1. Needs root (sshd runs as itself, the
# mounts are made directly) and /dev/fuse.
#
# A script killed outright (SIGKILL) runs no trap: the servers then die with it,
# by a parent-death signal, and its mounts with its mount namespace once its last
# process is gone. SANDBOX_ORPHANS_DIE is that prefix, for other commands.
SANDBOX_ORPHANS_DIE=(setpriv --pdeathsig KILL)

# Mounts that ask the server each time, as NFS's close-to-open rule has a client
# ask at every open. With sshfs's defaults (its own cache keeps names and sizes for
# 20 s, the kernel for 1 s), a file made or removed through one mount went unseen
# through another in 200 of 200 tries, and a replaced file showed its old size in
# 177 of 200; with these options, in none.
SANDBOX_SSHFS_OPTIONS=${SANDBOX_SSHFS_OPTIONS:-dir_cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0}

SANDBOX=
SANDBOX_SSH_PORT=
_sandbox_mounts=()
_sandbox_pids=()     # users of the mounts, stopped first
_sandbox_servers=()  # sshd, sshfs and other file systems, stopped last
_sandbox_loops=()
_sandbox_at_exit=()  # commands run last
_sandbox_hung=()
SANDBOX_FUSE_PIDS=() # the FUSE file systems' processes: ending one ends what hangs in it

sandbox_missing() {
  local missing=() tool
  [ "$(id -u)" -eq 0 ] || missing+=("root")
  # Opening it proves more than its presence: a container may list a node it denies.
  (exec 9<>/dev/fuse) 2>/dev/null || missing+=("/dev/fuse")
  for tool in /usr/sbin/sshd ssh ssh-keygen sshfs fusermount3 unshare setpriv "$@"; do
    case $tool in
      /dev/*) [ -e "$tool" ] || missing+=("$tool") ;;
      *) command -v "$tool" >/dev/null 2>&1 || missing+=("$tool") ;;
    esac
  done
  echo "${missing[*]}"
}

sandbox_private_mounts() {
  local propagation=private
  if [ "${_SANDBOX_NAMESPACE:-}" != "$$" ]; then
    # In a chroot "/" may be no mount point, whose propagation cannot change; the
    # new namespace's mounts are then as private as those of the one it copies.
    unshare --mount --propagation private true 2>/dev/null || propagation=unchanged
    _SANDBOX_NAMESPACE=$$ exec unshare --mount --propagation "$propagation" bash "$@"
  fi
}

_sandbox_exit() {
  local status=$? i
  trap - EXIT INT TERM
  _sandbox_hung=()
  for ((i = ${#_sandbox_pids[@]} - 1; i >= 0; i--)); do
    _sandbox_stop "${_sandbox_pids[i]}"
  done
  if [ ${#_sandbox_hung[@]} -gt 0 ]; then
    # They hang in a mount that no longer answers, and die once it ends.
    echo "sandbox: processes hung in a mount: ${_sandbox_hung[*]}; ending the FUSE file systems" >&2
    kill -KILL "${SANDBOX_FUSE_PIDS[@]}" 2>/dev/null
    for i in "${_sandbox_hung[@]}"; do wait "$i" 2>/dev/null; done
  fi
  for ((i = ${#_sandbox_mounts[@]} - 1; i >= 0; i--)); do
    _sandbox_unmount "${_sandbox_mounts[i]}"
  done
  for ((i = ${#_sandbox_servers[@]} - 1; i >= 0; i--)); do
    _sandbox_stop "${_sandbox_servers[i]}"
  done
  for i in "${_sandbox_loops[@]}"; do losetup -d "$i" 2>/dev/null || true; done
  for ((i = ${#_sandbox_at_exit[@]} - 1; i >= 0; i--)); do
    eval "${_sandbox_at_exit[i]}" || echo "sandbox: failed at exit: ${_sandbox_at_exit[i]}" >&2
  done
  # --one-file-system: what a mount that would not go keeps is not removed through it.
  [ -n "$SANDBOX" ] && rm -rf --one-file-system "$SANDBOX" 2>/dev/null
  exit "$status"
}

sandbox_init() {
  SANDBOX=$(mktemp -d "${TMPDIR:-/tmp}/sandbox.XXXXXX")
  chmod 0755 "$SANDBOX"
  trap _sandbox_exit EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

_sandbox_mounted() {  # whether a mount point is in this namespace's mount table
  local _ point _rest
  while read -r _ point _rest; do
    [ "$point" = "$1" ] && return 0
  done </proc/self/mounts
  return 1
}

_sandbox_unmount() {
  local pid tries
  _sandbox_mounted "$1" || return 0
  # Unmounting a file system that no longer answers waits for it, unkillably:
  # after a while the FUSE file systems are ended, which fails what waits.
  fusermount3 -u -q "$1" 2>/dev/null &
  pid=$!
  for tries in $(seq 1 100); do
    _sandbox_alive "$pid" || break
    sleep 0.1
  done
  if _sandbox_alive "$pid"; then
    echo "sandbox: $1 does not answer; ending the FUSE file systems" >&2
    kill -KILL "${SANDBOX_FUSE_PIDS[@]}" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null && return 0
  umount -l -c "$1" 2>/dev/null || echo "sandbox: could not unmount $1" >&2
}

_sandbox_stop() {  # ends one process we started: politely, then for good
  local pid=$1 tries children
  # sshd's connection children end once their sshfs has: their parent then reaps them.
  for tries in $(seq 1 20); do
    children=$(cat "/proc/$pid/task/$pid/children" 2>/dev/null) || break
    [ -z "$children" ] && break
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null || return 0
  for tries in $(seq 1 50); do
    _sandbox_alive "$pid" || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  for tries in $(seq 1 20); do
    _sandbox_alive "$pid" || break
    sleep 0.1
  done
  # One that outlives SIGKILL waits in a FUSE mount: waiting for it would hang.
  if _sandbox_alive "$pid"; then
    _sandbox_hung+=("$pid")
    return 0
  fi
  wait "$pid" 2>/dev/null || true
}

_sandbox_alive() {  # whether PID runs: not ended, nor a zombie awaiting its parent
  local stat
  read -r stat 2>/dev/null <"/proc/$1/stat" || return 1
  [[ ${stat##*) } != Z* ]]
}

sandbox_track() {
  _sandbox_pids+=("$1")
}

sandbox_server() {
  _sandbox_servers+=("$1")
}

sandbox_at_exit() {
  _sandbox_at_exit+=("$(printf '%q ' "$@")")
}

sandbox_untrack() {
  local i
  for i in "${!_sandbox_pids[@]}"; do
    [ "${_sandbox_pids[i]}" = "$1" ] && unset '_sandbox_pids[i]'
  done
  _sandbox_pids=("${_sandbox_pids[@]}")
}

_sandbox_listening() {  # whether 127.0.0.1:PORT is listening, from /proc/net/tcp
  local want
  want=$(printf '0100007F:%04X' "$1")
  awk -v want="$want" '$2 == want && $4 == "0A" { found = 1 } END { exit !found }' /proc/net/tcp
}

sandbox_sshd() {
  local keys=$SANDBOX/ssh port attempt pid
  mkdir -m 0700 "$keys"
  ssh-keygen -q -t ed25519 -N '' -C sandbox-host -f "$keys/host" </dev/null
  ssh-keygen -q -t ed25519 -N '' -C sandbox-client -f "$keys/client" </dev/null
  cp "$keys/client.pub" "$keys/authorized_keys"
  # sshd's privilege-separated children chroot here; the service would make it.
  mkdir -p -m 0755 /run/sshd
  for attempt in $(seq 1 20); do
    port=$((20000 + RANDOM % 40000))
    _sandbox_listening "$port" && continue
    cat >"$keys/sshd_config" <<EOF
ListenAddress 127.0.0.1:$port
HostKey $keys/host
PidFile none
AuthorizedKeysFile $keys/authorized_keys
PermitRootLogin prohibit-password
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
AllowTcpForwarding no
X11Forwarding no
PrintMotd no
MaxStartups 30
MaxSessions 30
LogLevel ERROR
Subsystem sftp internal-sftp
EOF
    "${SANDBOX_ORPHANS_DIE[@]}" /usr/sbin/sshd -D -e -f "$keys/sshd_config" 2>>"$SANDBOX/sshd.log" &
    pid=$!
    local tries
    for tries in $(seq 1 100); do
      if _sandbox_listening "$port"; then
        _sandbox_servers+=("$pid")
        SANDBOX_SSH_PORT=$port
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    # Another program took the port first, or sshd never listened: try again.
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  echo "sandbox: sshd did not start:" >&2
  cat "$SANDBOX/sshd.log" >&2
  return 1
}

_sandbox_wait_mount() {  # waits for MOUNTPOINT while PID runs
  local tries
  for tries in $(seq 1 200); do
    _sandbox_mounted "$1" && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

sandbox_sshfs() {
  local dir=$1 point=$2 port=${3:-$SANDBOX_SSH_PORT} pid
  mkdir -p "$point"
  # -f keeps sshfs our child, so that it can be stopped should unmounting fail.
  "${SANDBOX_ORPHANS_DIE[@]}" sshfs -f -F /dev/null "root@127.0.0.1:$dir" "$point" \
    -o "port=$port,IdentityFile=$SANDBOX/ssh/client,IdentitiesOnly=yes,BatchMode=yes" \
    -o StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,LogLevel=ERROR \
    -o "$SANDBOX_SSHFS_OPTIONS" 2>>"$SANDBOX/sshfs.log" &
  pid=$!
  _sandbox_servers+=("$pid")
  _sandbox_mounts+=("$point")
  _sandbox_wait_mount "$point" "$pid" && return 0
  echo "sandbox: sshfs did not mount $point:" >&2
  cat "$SANDBOX/sshfs.log" >&2
  return 1
}

sandbox_loop() {
  SANDBOX_LOOP=$(losetup --find --show "$1") || return 1
  _sandbox_loops+=("$SANDBOX_LOOP")
}

sandbox_fuse() {
  local point=$1 pid loop
  shift
  mkdir -p "$point"
  "${SANDBOX_ORPHANS_DIE[@]}" "$@" >>"$SANDBOX/fuse.log" 2>&1 &
  pid=$!
  _sandbox_servers+=("$pid")
  _sandbox_mounts+=("$point")
  SANDBOX_FUSE_PIDS+=("$pid")
  if _sandbox_wait_mount "$point" "$pid"; then
    # Detaching a loop device in use only marks it to go when its last user closes
    # it: now the file system is its one user, it cannot outlive the file system,
    # even should this script be killed where no trap runs.
    for loop in "${_sandbox_loops[@]}"; do losetup -d "$loop" 2>/dev/null || true; done
    # Its number may serve someone else's image by the time this script ends.
    _sandbox_loops=()
    return 0
  fi
  echo "sandbox: $1 did not mount $point:" >&2
  cat "$SANDBOX/fuse.log" >&2
  return 1
}
