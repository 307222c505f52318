#!/usr/bin/env bash
# Runs the end-to-end scenario against a real binary in a real X server (Xvfb),
# with an accessibility bus so the script can read the screen as a screen
# reader does. Usage: run-e2e.sh PROGRAM MARKER QKSTORE
#                    run-e2e.sh --installed DESKTOP_FILE QKSTORE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=0
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- /usr/bin/python3 "$here/e2e_test.py" "$@"
