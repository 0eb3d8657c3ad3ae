#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the rig need.
# Idempotent: does nothing (and needs no network) when everything is present.
set -euo pipefail

# Which Wine this machine runs the Windows build under (see scripts/win-arch.sh): wine32 where the kernel runs
# 32-bit programs, wine64 where it does not (there wine32's own install scripts fail). Both cross compilers
# are installed everywhere: both Windows builds are compiled on every machine.
WIN_ARCH=${QX_WIN_ARCH:-$(bash "$(dirname "$0")/win-arch.sh")} || exit 2
if [ "$WIN_ARCH" = x86_64 ]; then
  WINE_PACKAGES=(wine wine64)
else
  WINE_PACKAGES=(wine wine32:i386)
fi

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  liblzo2-dev libpng-dev dpkg-dev
  "${WINE_PACKAGES[@]}" xvfb x11-utils xauth imagemagick x11vnc
  fonts-wqy-microhei fonts-wine locales
  pcscd libpcsclite-dev vsmartcard-vpcd
  python3 file procps
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if [ "$WIN_ARCH" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A generated zh_CN locale keeps the shell and Wine quiet about LANG.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
