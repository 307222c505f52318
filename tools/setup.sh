#!/usr/bin/env bash
# Installs whatever Debian packages are still missing: tools/setup.sh [play|check]
# "play" reads debian-packages-play.txt, what building and playing need; "check",
# the default, adds debian-packages.txt, what the tests and CI need.
# Runs apt-get as root directly, otherwise through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case ${1:-check} in
  play) lists=("$here/debian-packages-play.txt") ;;
  check) lists=("$here/debian-packages-play.txt" "$here/debian-packages.txt") ;;
  *) echo "usage: tools/setup.sh [play|check]" >&2; exit 2 ;;
esac

mapfile -t wanted < <(cat "${lists[@]}" | sed -e 's/#.*//' -e 's/\s//g' -e '/^$/d')
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install=(apt-get install -y --no-install-recommends "${missing[@]}")
# openssh-server would start and enable the machine's SSH service; the tests run a
# private server of their own. Debian's ssh service, socket and init script all
# stand down while this file exists, so it is made before the package comes.
quiet_ssh=
for pkg in "${missing[@]}"; do
  if [ "$pkg" = openssh-server ] && [ ! -e /etc/ssh/sshd_not_to_be_run ]; then
    quiet_ssh="mkdir -p /etc/ssh && touch /etc/ssh/sshd_not_to_be_run"
  fi
done
advise() {  # says what to run as root when this user cannot install
  {
    echo "mindlark: these Debian packages are missing: ${missing[*]}"
    echo "mindlark: $1; as root, run:"
    echo "  ${quiet_ssh:+$quiet_ssh && }apt-get update && ${install[*]}"
  } >&2
  exit 1
}
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  advise "neither root nor sudo is available to install them"
fi
echo "mindlark: installing ${missing[*]}" >&2
if [ -n "$quiet_ssh" ]; then
  echo "mindlark: creating /etc/ssh/sshd_not_to_be_run first, so that no SSH service starts" >&2
  "${as_root[@]}" sh -c "$quiet_ssh" || advise "creating /etc/ssh/sshd_not_to_be_run failed"
fi
"${as_root[@]}" apt-get update -qq || advise "apt-get update failed"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}" -qq >/dev/null ||
  advise "apt-get install failed"
