#!/usr/bin/env bash
# Prints the architecture whose Windows build this machine tests and runs under Wine: i686 (the product,
# under 32-bit Wine) or x86_64 (under wine64, on machines whose kernel refuses 32-bit programs).
#
# QX_WIN_ARCH=i686 or QX_WIN_ARCH=x86_64 forces the answer. Otherwise the machine is asked, not guessed:
# a 96-byte static i386 Linux program that only exits with status 42 is started; if it does not come
# back with 42 (typically "Exec format error", status 126), the machine runs no 32-bit code.
# QX_ARCH_PROBE_LOADER, when set, is a command the probe is started through (the tests use a fake loader).
set -uo pipefail

case "${QX_WIN_ARCH:-}" in
  i686|x86_64) echo "$QX_WIN_ARCH"; exit 0 ;;
  "") ;;
  *) echo "win-arch: QX_WIN_ARCH must be i686 or x86_64, not '$QX_WIN_ARCH'" >&2; exit 2 ;;
esac

probe=$(mktemp "${TMPDIR:-/tmp}/qx-i386-probe.XXXXXX") || exit 2
trap 'rm -f "$probe"' EXIT

# ELF header (52 bytes), one loadable segment at 0x08048000 (32 bytes), then the code at 0x08048054:
#   mov eax, 1 (exit) ; mov ebx, 42 ; int 0x80
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'`
      `'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00'`
      `'\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'`
      `'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'`
      `'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'`
      `'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"

# shellcheck disable=SC2086  # the loader may be a command with arguments
${QX_ARCH_PROBE_LOADER:-} "$probe" >/dev/null 2>&1 </dev/null
if [ $? -eq 42 ]; then
  echo i686
else
  echo x86_64
fi
