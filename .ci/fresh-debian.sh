#!/usr/bin/env bash
# CI: what a new player and a new contributor meet on a fresh Debian 12. It makes
# a minimal system with debootstrap from this machine's own apt sources, clones
# the repository into it and, as root there with nothing installed by hand:
#   - ./play without a display refuses before it installs or builds anything;
#   - xvfb-run -a ./play (after installing xvfb, as the README says) shows the
#     first window, seen on a screenshot of the virtual screen;
#   - ./check passes, and runs the shared-store stage (sshfs, Samba, FUSE sticks, a
#     lab's group folder, kills) in full;
#   - the Debian package builds as the README says, lintian finds neither error
#     nor warning in it, and it installs and plays end to end.
# It prints the packages and installed size each step brought in, and its times.
# Usage (as root): .ci/fresh-debian.sh [OUT]  OUT receives the first window's
# picture (default build/fresh-debian).
#
# Everything runs in a private mount namespace, so no mount can leak to this
# machine; the mounts are undone and the system removed on every exit path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build/fresh-debian}" && cd "${1:-$root/build/fresh-debian}" && pwd)

if [ "${MINDLARK_FRESH_NAMESPACE:-}" != 1 ]; then
  MINDLARK_FRESH_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$out"
fi

started=$SECONDS
step() {  # step TITLE: a heading with the time spent so far
  printf '== fresh system [%dm%02ds] %s\n' $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)) "$1"
}

work=$(mktemp -d /var/tmp/mindlark-fresh.XXXXXX)
target=$work/root
mounts=()
stop_inside() {  # ends every process whose root is the fresh system
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    if [ "$(readlink "$link" 2>/dev/null)" = "$target" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  done
}
cleanup() {
  local status=$? i
  # Whatever still runs inside (a bus, an X server) would keep its mounts busy.
  stop_inside
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount --lazy "${mounts[i]}" || true
  done
  # --one-file-system: should a mount survive after all, what is behind it stays.
  rm -rf --one-file-system "$work" || true
  exit "$status"
}
trap cleanup EXIT
trap 'echo "fresh system: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
trap 'exit 130' INT
trap 'exit 143' TERM

mount_in() {  # mount_in DIR mount-arguments...: mounts at $target/DIR, undone at exit
  mkdir -p "$target/$1"
  mount "${@:2}" "$target/$1"
  mounts+=("$target/$1")
}

in_system() {  # in_system COMMAND: runs a shell command as root in the fresh system
  # In the background, so that a signal reaches the traps at once, not when a
  # long build or test run inside has finished.
  chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -euo pipefail -c "cd /root/mindlark && $1" &
  wait $!
}

footprint() {  # footprint LABEL: packages and installed size of the system now
  in_system "dpkg-query -W -f='\${db:Status-Status} \${Installed-Size}\n'" |
    awk -v label="$1" '$1 == "installed" { n++; kb += $2 }
      END { printf "   %s: %d packages, %.0f MB installed\n", label, n, kb / 1024 }'
}

# The suite and mirror of this machine's own Debian sources.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && sources+=("$file")
done
mirror=$(cat "${sources[@]}" |
  awk -v suite="$codename" '
    /^deb / { sub(/\[[^]]*\] */, ""); if ($3 == suite) { print $2; exit } }
    /^URIs:/ { uris = $2 }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite && uris != "") { print uris; exit } }
    /^$/ { uris = "" }')
[ -n "$mirror" ] || { echo "fresh system: no Debian source for $codename in /etc/apt" >&2; exit 1; }

step "debootstrap --variant=minbase $codename $mirror"
debootstrap --variant=minbase "$codename" "$target" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -n 30 "$work/debootstrap.log"; exit 1; }
# apt there reads this machine's sources, and the keys they name.
rm -f "$target/etc/apt/sources.list"
for file in "${sources[@]}"; do
  cp "$file" "$target$file"
  for key in $(grep -ohiE 'signed-by[:=] *[^] ]+' "$file" | sed -E 's/^signed-by[:=] *//I' || true); do
    [ -f "$key" ] && [ ! -e "$target$key" ] && install -D -m 0644 "$key" "$target$key"
  done
done
cp /etc/resolv.conf "$target/etc/resolv.conf"

mount_in proc -t proc proc
mount_in dev -t tmpfs -o mode=0755,nosuid tmpfs
for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
  IFS=: read -r name major minor <<<"$node"
  mknod -m 0666 "$target/dev/$name" c "$major" "$minor"
done
# The shared-store stage of ./check mounts FUSE file systems (sshfs, smbnetfs,
# sticks), and exFAT images through loop devices.
mknod -m 0666 "$target/dev/fuse" c 10 229
mknod -m 0660 "$target/dev/loop-control" c 10 237
for minor in $(seq 0 15); do mknod -m 0660 "$target/dev/loop$minor" b 7 "$minor"; done
ln -s /proc/self/fd "$target/dev/fd"
ln -s /proc/self/fd/0 "$target/dev/stdin"
ln -s /proc/self/fd/1 "$target/dev/stdout"
ln -s /proc/self/fd/2 "$target/dev/stderr"
mkdir -m 1777 "$target/dev/shm"
mount_in dev/pts -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts
ln -s pts/ptmx "$target/dev/ptmx"
mount_in tmp -t tmpfs -o mode=1777,nosuid tmpfs

git clone --quiet "$root" "$target/root/mindlark"
footprint "minimal system"

step "./play without a display"
if in_system "./play" >"$work/play.log" 2>&1; then
  echo "fresh system: ./play went on without a display" >&2
  exit 1
fi
cat "$work/play.log"
grep -q "xvfb-run -a ./play" "$work/play.log"
[ ! -e "$target/root/mindlark/build" ] || { echo "fresh system: ./play built without a display" >&2; exit 1; }

step "installing xvfb and xauth, as the README says"
in_system "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null"
footprint "with xvfb"

step "xvfb-run -a ./play, until the first window shows"
mkdir -p "$target/tmp/screen"
in_system "exec xvfb-run -a -s '-screen 0 1024x768x24 -fbdir /tmp/screen' ./play" >"$work/play.log" 2>&1 &
play=$!
shown=
for _ in $(seq 1 360); do
  kill -0 "$play" 2>/dev/null || break
  if [ -f "$target/tmp/screen/Xvfb_screen0" ] &&
    python3 "$root/.ci/screenshot.py" "$target/tmp/screen/Xvfb_screen0" "$out/first-window.png"; then
    sleep 3 # the window has begun to draw: let it finish, then keep the picture
    python3 "$root/.ci/screenshot.py" "$target/tmp/screen/Xvfb_screen0" "$out/first-window.png"
    shown=1
    break
  fi
  sleep 5
done
stop_inside
wait "$play" 2>/dev/null || true
echo "   what ./play printed, ended here once its window showed:"
cat "$work/play.log"
[ -n "$shown" ] || { echo "fresh system: xvfb-run -a ./play showed no window" >&2; exit 1; }
echo "   the first window: $out/first-window.png"
footprint "after ./play"

step "./check"
in_system "./check"
# A skipped test passes ./check: the shared-store stage must have run here, where
# only the package lists brought what it needs.
in_system "! grep 'skipped: needs' build/check/Testing/Temporary/LastTest.log &&
  [ \$(grep -c '^== .*: done: 0 failures' build/check/Testing/Temporary/LastTest.log) -eq 6 ]" ||
  { echo "fresh system: the shared-store stage did not run in full" >&2; exit 1; }
footprint "after ./check"

step "the Debian package, as the README says"
in_system "tools/package.sh && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./build/package/mindlark_*.deb >/dev/null"
in_system "lintian --fail-on error,warning --info build/package/mindlark_*.deb"
in_system "desktop-file-validate /usr/share/applications/io.github.mindlark.mindlark.desktop"
in_system "appstreamcli validate --pedantic --no-net /usr/share/metainfo/io.github.mindlark.mindlark.metainfo.xml"
in_system "man -l /usr/share/man/man6/mindlark.6.gz >/dev/null && man -l /usr/share/man/man1/qkstore.1.gz >/dev/null"
in_system "tests/e2e/run-e2e.sh --installed /usr/share/applications/io.github.mindlark.mindlark.desktop /usr/games/qkstore"
footprint "with the package installed"
step "done"
