#!/usr/bin/env bash
# Fetches Debian's LZO source package into third_party/lzo (ignored by git) for the cross build.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEST=$ROOT/third_party/lzo
[ -f "$DEST/src/lzo1x_d1.c" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# apt-get source needs a deb-src entry; add one in a file of our own when the system has none.
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  src=$(ls /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1 || true)
  if [ -n "$src" ]; then
    uri=$(awk '/^URIs:/{print $2; exit}' "$src")
    key=$(awk '/^Signed-By:/{print $2; exit}' "$src")
  else
    uri=http://deb.debian.org/debian
    key=/usr/share/keyrings/debian-archive-keyring.gpg
  fi
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' "$uri" "$suite" "$key" |
    $SUDO tee /etc/apt/sources.list.d/qx740-deb-src.sources >/dev/null
  $SUDO apt-get update -q
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -q --download-only lzo2 >/dev/null 2>&1 || { $SUDO apt-get update -q && apt-get source -q --download-only lzo2; })
orig=$(ls "$work"/lzo2_*.orig.tar.* | head -n 1)
mkdir -p "$DEST.tmp"
tar -xf "$orig" -C "$DEST.tmp" --strip-components=1
rm -rf "$DEST"
mv "$DEST.tmp" "$DEST"
echo "fetch-lzo: LZO sources in $DEST"
