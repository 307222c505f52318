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
# samba would start its file server, which the tests run privately too; and
# no file says to leave it be. Debian's standard opt-out for services started by
# packages is a policy-rc.d that answers 101 (not allowed): made before the
# install where none exists, and removed after it.
quiet_services=
for pkg in "${missing[@]}"; do
  if [ "$pkg" = samba ] && [ ! -e /usr/sbin/policy-rc.d ]; then
    quiet_services="printf '#!/bin/sh\\nexit 101\\n' >/usr/sbin/policy-rc.d && chmod 0755 /usr/sbin/policy-rc.d"
  fi
done
advise() {  # says what to run as root when this user cannot install
  {
    echo "mindlark: these Debian packages are missing: ${missing[*]}"
    echo "mindlark: $1; as root, run:"
    echo "  ${quiet_ssh:+$quiet_ssh && }${quiet_services:+$quiet_services && }apt-get update &&" \
      "${install[*]}${quiet_services:+ && rm /usr/sbin/policy-rc.d}"
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
if [ -n "$quiet_services" ]; then
  echo "mindlark: creating /usr/sbin/policy-rc.d for the install, so that no Samba service starts" >&2
  "${as_root[@]}" sh -c "$quiet_services" || advise "creating /usr/sbin/policy-rc.d failed"
fi
status=0
"${as_root[@]}" apt-get update -qq || status=$?
[ "$status" -ne 0 ] || "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}" -qq >/dev/null ||
  status=$?
if [ -n "$quiet_services" ]; then
  echo "mindlark: removing the /usr/sbin/policy-rc.d made for the install" >&2
  "${as_root[@]}" rm -f /usr/sbin/policy-rc.d
fi
[ "$status" -eq 0 ] || advise "apt-get update or install failed"
