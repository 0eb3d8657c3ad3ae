# Sourced by the Wine scripts: the project's Wine environment and its one-time prefix set-up.
QX_ROOT=${QX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# The Windows build that runs under Wine on this machine (scripts/win-arch.sh): the i686 product under
# 32-bit Wine, or its x86_64 build under wine64 where the kernel refuses 32-bit programs. `make` decides
# once and exports QX_WIN_ARCH; scripts started on their own ask the machine here.
if [ -z "${QX_WIN_ARCH:-}" ]; then
  QX_WIN_ARCH=$(bash "$QX_ROOT/scripts/win-arch.sh") || return 2 2>/dev/null || exit 2
fi
export QX_WIN_ARCH
if [ "$QX_WIN_ARCH" = x86_64 ]; then
  export QX_WIN_TREE=win64
  export WINEPREFIX=${QX_WINEPREFIX:-$QX_ROOT/build/wineprefix64}
  export WINEARCH=win64
  # Debian's `wine` script (and wineboot, winepath, which go through `wine-stable`) takes wine32 whenever it
  # is installed, even where it cannot run or for a 64-bit prefix: put wine64 first on the PATH.
  qx_wine64_bin=$QX_ROOT/build/wine64-bin
  if [ ! -x "$qx_wine64_bin/wine-stable" ]; then
    mkdir -p "$qx_wine64_bin"
    for qx_name in wine wine-stable; do
      printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
        >"$qx_wine64_bin/$qx_name.tmp.$$"
      chmod +x "$qx_wine64_bin/$qx_name.tmp.$$"
      mv -f "$qx_wine64_bin/$qx_name.tmp.$$" "$qx_wine64_bin/$qx_name"
    done
  fi
  case ":$PATH:" in *":$qx_wine64_bin:"*) ;; *) export PATH=$qx_wine64_bin:$PATH ;; esac
  export WINELOADER=/usr/lib/wine/wine64
else
  export QX_WIN_TREE=win32
  export WINEPREFIX=${QX_WINEPREFIX:-$QX_ROOT/build/wineprefix}
  export WINEARCH=win32
fi
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8    # ANSI code page 936 inside Wine
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
unset WINELOADERNOEXEC

# Bump when the set-up below changes, so that existing prefixes are rebuilt. (Version 2: unmanaged X11
# windows; without a window manager a managed window waits about 2 s whenever it is hidden or closed.
# Version 3: Marlett in the prefix's font folder.)
QX_PREFIX_VERSION=3

qx_prefix_ready() {
  [ "$(cat "$WINEPREFIX/.qx-ready" 2>/dev/null)" = "$QX_PREFIX_VERSION" ]
}

# Creates the prefix once (wineboot, fonts, undecorated X11 windows, no crash dialogs).
# Safe against parallel callers: one creates it under a lock, the others wait.
qx_prefix_ensure() {
  qx_prefix_ready && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    qx_prefix_ready && exit 0
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Wine draws the caption buttons with the symbol font Marlett. This Wine build does not look into
    # its own font folder (fonts-wine), so without a copy in the Windows font folder the buttons show
    # the letters "0 1 r" in a substituted font.
    local marlett=/usr/share/wine/fonts/marlett.ttf
    [ -f "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    local reg
    reg=$(mktemp --suffix=.reg)
    # regedit reads version-5 files as UTF-16LE with a byte-order mark.
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$QX_ROOT/scripts/wine/prefix.reg.in"; } >"$reg"
    wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
    wineserver -w
    rm -f "$reg"
    echo "$QX_PREFIX_VERSION" >"$WINEPREFIX/.qx-ready"
  ) 9>"$WINEPREFIX.lock"
}

# Starts a private Xvfb on a free display; sets QX_XVFB_PID and exports DISPLAY.
qx_xvfb_start() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QX_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$QX_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    kill "$QX_XVFB_PID" 2>/dev/null || true
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

# Makes a private copy of the prepared prefix for one test session, so that concurrent sessions
# (each with its own wineserver and display) never share Wine state. The large system32 folder
# is hard-linked (only read); everything else is copied. Exports WINEPREFIX.
qx_session_prefix_create() {
  local template=$WINEPREFIX dst=$1
  rm -rf "$dst"
  mkdir -p "$dst"
  tar -C "$template" --exclude=./drive_c/windows/system32 --exclude=./wineserver -cf - . | tar -C "$dst" -xf -
  cp -al "$template/drive_c/windows/system32" "$dst/drive_c/windows/"
  export WINEPREFIX=$dst
}
