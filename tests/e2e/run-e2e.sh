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
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- /usr/bin/python3 "$here/e2e_test.py" "$@"
