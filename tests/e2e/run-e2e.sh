#!/usr/bin/env bash
# Runs the end-to-end scenario against a real binary in a real X server (Xvfb),
# with an accessibility bus so the script can read the screen as a screen
# reader does. Usage: run-e2e.sh PROGRAM MARKER QKSTORE
#                    run-e2e.sh --installed DESKTOP_FILE QKSTORE
# The session's runtime directory (the buses' sockets, dconf) is private to the
# run and removed with it, whatever the outcome.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runtime=$(mktemp -d "${TMPDIR:-/tmp}/mindlark-e2e-runtime.XXXXXX")
xvfb=
finish() {
  local status=$?
  if [ -n "$xvfb" ]; then
    # A failure may come from the server rather than the game: say how it fared.
    if [ "$status" -ne 0 ]; then
      kill -0 "$xvfb" 2>/dev/null || echo "run-e2e: Xvfb had ended" >&2
      sed 's/^/Xvfb: /' "$runtime/xvfb.log" >&2
    fi
    { kill "$xvfb" && wait "$xvfb"; } 2>/dev/null || true
  fi
  rm -rf "$runtime"
  exit "$status"
}
trap finish EXIT
# Xvfb picks a display number that no server uses. xvfb-run -a looks only for
# lock files in /tmp, and so, inside a chroot or a container, takes one that a
# server outside holds through its abstract socket. Without -noreset the server
# resets whenever its last client leaves (the probe below, the accessibility bus
# launcher), and a client that connects during a reset is turned away: the game
# failed to start in a third of the runs on a fresh system.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$runtime/display" 2>"$runtime/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$runtime/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$runtime/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$runtime/display" ] || { echo "run-e2e: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$runtime/display")
# The game must find a server that takes clients, not just a display number.
for _ in $(seq 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null || { echo "run-e2e: no client can reach $DISPLAY" >&2; exit 1; }
export XDG_RUNTIME_DIR=$runtime
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=0
dbus-run-session -- /usr/bin/python3 "$here/e2e_test.py" "$@"
