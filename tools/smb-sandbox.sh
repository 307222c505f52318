# Bash functions, sourced after tools/sshfs-sandbox.sh, that stand in for
# machines sharing one directory through a Windows-style file server: a private
# Samba server on 127.0.0.1 and smbnetfs mounts of its one share. Stopped and
# unmounted on every exit path, with the sandbox's other servers and mounts.
#
#   sandbox_smbd DIR         serves DIR as the share "store"; sets SANDBOX_SMB_PORT
#   sandbox_smbnetfs MOUNTPOINT   mounts the share's server there; sets SANDBOX_SMB_SHARE
#                            to the share as seen through that mount
#   SANDBOX_SMB_NEEDS        the commands these need, for sandbox_missing
#
# smbd runs as root with a configuration, a user database and state of its own
# under $SANDBOX, listens on 127.0.0.1 only, and starts neither nmbd nor any
# other helper service. Its one account is root's, with a throwaway password
# known only to this run, in that private database.
SANDBOX_SMB_NEEDS=(smbd smbpasswd smbnetfs)
SANDBOX_SMB_PORT=
SANDBOX_SMB_SHARE=

sandbox_smbd() {
  local dir=$1 smb=$SANDBOX/smb attempt port pid tries
  mkdir -m 0700 "$smb" "$smb/private" "$smb/state" "$smb/cache" "$smb/lock" "$smb/run" "$smb/home"
  SANDBOX_SMB_PASSWORD=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
  for attempt in $(seq 1 20); do
    port=$((20000 + RANDOM % 40000))
    _sandbox_listening "$port" && continue
    cat >"$smb/smb.conf" <<EOF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = $port
  disable netbios = yes
  server role = standalone server
  private dir = $smb/private
  state directory = $smb/state
  cache directory = $smb/cache
  lock directory = $smb/lock
  pid directory = $smb/run
  ncalrpc dir = $smb/run/ncalrpc
  passdb backend = tdbsam:$smb/private/passdb.tdb
  rpc start on demand helpers = no
  load printers = no
  printcap name = /dev/null
  disable spoolss = yes
  log level = 1
[store]
  path = $dir
  read only = no
EOF
    if [ "$attempt" -eq 1 ]; then
      printf '%s\n%s\n' "$SANDBOX_SMB_PASSWORD" "$SANDBOX_SMB_PASSWORD" |
        smbpasswd -c "$smb/smb.conf" -s -a root >>"$SANDBOX/smbd.log" 2>&1 || {
        echo "sandbox: smbpasswd failed:" >&2
        cat "$SANDBOX/smbd.log" >&2
        return 1
      }
    fi
    # Its standard input is no socket: it would otherwise take itself for a
    # service started by inetd.
    "${SANDBOX_ORPHANS_DIE[@]}" smbd --foreground --debug-stdout \
      -s "$smb/smb.conf" </dev/null >>"$SANDBOX/smbd.log" 2>&1 &
    pid=$!
    for tries in $(seq 1 200); do
      if _sandbox_listening "$port"; then
        _sandbox_servers+=("$pid")
        SANDBOX_SMB_PORT=$port
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  echo "sandbox: smbd did not start:" >&2
  tail -n 20 "$SANDBOX/smbd.log" >&2
  return 1
}

# Mounts that ask the server each time, as sshfs's (see SANDBOX_SSHFS_OPTIONS).
SANDBOX_SMBNETFS_OPTIONS=${SANDBOX_SMBNETFS_OPTIONS:-attr_timeout=0,entry_timeout=0,negative_timeout=0}

sandbox_smbnetfs() {
  local point=$1 home=$SANDBOX/smb/home tries
  if [ ! -e "$home/smbnetfs.conf" ]; then
    # Only what this run needs: no browsing of the network, no keyring. One
    # request that fails under load is otherwise given back to every request for
    # the next 3 s (the negative cache, which cannot be turned off in Debian 12's
    # smbnetfs without it never mounting): a hiccup would fail a whole round.
    cat >"$home/smbnetfs.conf" <<EOF
auth "root" "$SANDBOX_SMB_PASSWORD"
smb_query_browsers "false"
neg_cache_timeout 1
use_libsecret "false"
EOF
    chmod 0600 "$home/smbnetfs.conf"
  fi
  sandbox_fuse "$point" env HOME="$home" smbnetfs -f "$point" \
    -o "config=$home/smbnetfs.conf,$SANDBOX_SMBNETFS_OPTIONS" || return 1
  # libsmbclient tries ports 445 and 139 unless the name of the server says otherwise.
  SANDBOX_SMB_SHARE=$point/127.0.0.1:$SANDBOX_SMB_PORT/store
  for tries in 1 2 3; do
    timeout 20 stat "$SANDBOX_SMB_SHARE" >/dev/null 2>>"$SANDBOX/fuse.log" && return 0
  done
  echo "sandbox: smbnetfs at $point does not reach the share:" >&2
  tail -n 20 "$SANDBOX/fuse.log" "$SANDBOX/smbd.log" >&2
  return 1
}
