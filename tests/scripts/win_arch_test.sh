#!/usr/bin/env bash
# The choice of the Windows build that runs under Wine: forced by QX_WIN_ARCH, otherwise by whether a
# 32-bit program starts. The probe is started through fake loaders that stand for the two kinds of machine.
set -uo pipefail
ARCH=$1
fails=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect() { # expect NAME WANTED [ENV...]
  local name=$1 want=$2 got
  shift 2
  got=$(env -u QX_WIN_ARCH "$@" bash "$ARCH" 2>"$work/err")
  if [ "$got" = "$want" ]; then
    echo "ok: $name -> $got"
  else
    echo "FAIL: $name: wanted '$want', got '$got' ($(cat "$work/err"))"
    fails=$((fails + 1))
  fi
}

# A kernel that refuses 32-bit programs: the loader fails the way execve does there.
cat >"$work/refusing-loader" <<'SH'
#!/bin/sh
echo "$1: cannot execute binary file: Exec format error" >&2
exit 126
SH
# A kernel that runs them: the loader hands back the probe's own exit status.
cat >"$work/running-loader" <<'SH'
#!/bin/sh
[ -s "$1" ] && [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = "177ELF" ] || exit 1
exit 42
SH
# A loader that starts the probe but sees it crash (for example an emulator without the right kernel).
cat >"$work/crashing-loader" <<'SH'
#!/bin/sh
kill -SEGV $$
SH
chmod +x "$work"/*-loader

expect "Exec format error" x86_64 QX_ARCH_PROBE_LOADER="$work/refusing-loader"
expect "the probe runs" i686 QX_ARCH_PROBE_LOADER="$work/running-loader"
expect "the probe crashes" x86_64 QX_ARCH_PROBE_LOADER="$work/crashing-loader"
expect "forced x86_64 beats a running probe" x86_64 QX_WIN_ARCH=x86_64 QX_ARCH_PROBE_LOADER="$work/running-loader"
expect "forced i686 beats a refused probe" i686 QX_WIN_ARCH=i686 QX_ARCH_PROBE_LOADER="$work/refusing-loader"

# A wrong forced value is an error, not a silent guess.
if env QX_WIN_ARCH=amd64 bash "$ARCH" >/dev/null 2>&1; then
  echo "FAIL: QX_WIN_ARCH=amd64 was accepted"
  fails=$((fails + 1))
else
  echo "ok: QX_WIN_ARCH=amd64 refused"
fi

# The probe itself is a well-formed i386 program: where an i386 emulator is at hand it exits with 42.
if command -v qemu-i386-static >/dev/null 2>&1; then
  expect "probe under qemu-i386" i686 QX_ARCH_PROBE_LOADER=qemu-i386-static
fi

# The probe leaves nothing behind.
before=$(ls "${TMPDIR:-/tmp}" | grep -c '^qx-i386-probe' || true)
env -u QX_WIN_ARCH bash "$ARCH" >/dev/null
after=$(ls "${TMPDIR:-/tmp}" | grep -c '^qx-i386-probe' || true)
if [ "$after" -gt "$before" ]; then
  echo "FAIL: the probe file was left in ${TMPDIR:-/tmp}"
  fails=$((fails + 1))
fi

[ "$fails" -eq 0 ] || { echo "$fails failure(s)"; exit 1; }
echo "all passed"
