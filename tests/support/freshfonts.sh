#!/usr/bin/env bash
# Sets up DIR/fonts.conf, a fontconfig configuration that sees only the fonts a
# fresh machine has: those the install lists name. Tests run under it render as a new player's machine does,
# whatever else the developer's machine has installed.
#   freshfonts.sh DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$1

mapfile -t packages < <(cat "$root"/tools/*packages*.txt | grep -E '^fonts-' | sort -u)
rm -rf "$out/fonts"
mkdir -p "$out/fonts" "$out/cache"
for pkg in "${packages[@]}"; do
  if ! files=$(dpkg-query -L "$pkg" 2>/dev/null); then
    echo "freshfonts: $pkg is not installed; run tools/setup.sh" >&2
    exit 1
  fi
  grep -E '\.(ttf|otf|ttc)$' <<<"$files" | while read -r file; do
    ln -sf "$file" "$out/fonts/"
  done
done

cat >"$out/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$out/fonts</dir>
  <cachedir>$out/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
CONF
