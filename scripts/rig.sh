#!/usr/bin/env bash
# The PC/SC test rig: a private pcscd with the vpcd virtual readers, a simulated card per reader,
# and the bridge daemon that the test-only winscard.dll talks to from Wine.
#
#   rig.sh start [PROFILE0 [PROFILE1|none]]   start everything (does nothing if already up)
#   rig.sh stop [--purge]                     stop this rig's processes, and only them (--purge: and
#                                             remove its folder)
#   rig.sh status                             show what runs; exit 0 only if the rig is up
#   rig.sh swap-profile SLOT PROFILE|none     put another card (or none) into reader SLOT (0/1)
#   rig.sh swap-reader-set two|renamed|none   restart pcscd with another set of readers
#   rig.sh env                                print the environment for Wine programs and clients
#   rig.sh list                               list readers as the bridge sees them through pcscd
#   rig.sh wait-card SLOT present|empty       wait until pcscd sees reader SLOT in that state
#   rig.sh wine PROGRAM [ARGS...]             start the rig if needed, run a Windows program on it
#
# All state (pids, ports, logs, pcscd's socket) lives in $QX_RIG_DIR (default build/rig), so that
# several rigs, and a system pcscd, run side by side. A PROFILE is a name in tools/cardsim/profiles
# or a path to a profile file.
#
# How Wine picks our winscard.dll (Wine 8): a native DLL is only preferred to Wine's built-in one
# when the override says so (WINEDLLOVERRIDES=winscard=n), and it must lie in the program's own
# folder: with a folder in WINEPATH, or as a "builtin" in WINEDLLPATH, Wine still finds the
# placeholder in system32 first. The build copies winscard.dll beside the programs that need it;
# without the override those programs keep Wine's own winscard.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RIG=${QX_RIG_DIR:-$ROOT/build/rig}
# Test runs share the build tree with other developers' runs: with QX_RIG_SESSION_DIRS set, each
# test session (scripts/with-display.sh, which gives it its own QX_WINEPREFIX) gets a rig of its own
# below QX_RIG_DIR. The test programs make the same choice for themselves.
if [ -n "${QX_RIG_SESSION_DIRS:-}" ] && [ -n "${QX_WINEPREFIX:-}" ]; then
    RIG=$RIG/$(basename "$QX_WINEPREFIX")
fi
PROFILES=$ROOT/tools/cardsim/profiles
mkdir -p "$RIG"
RIG=$(cd "$RIG" && pwd)
SOCK=$RIG/run/pcscd/pcscd.comm
export PCSCLITE_CSOCK_NAME=$SOCK

die() { echo "rig: $*" >&2; exit 1; }

# A pid file counts only while its process is alive and still runs what we started.
alive() {
    local f=$RIG/$1.pid pid
    [ -f "$f" ] || return 1
    pid=$(cat "$f" 2>/dev/null) || return 1
    [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$2"
}

# Gone, or a zombie waiting for whichever process adopted it to reap it.
gone() {
    [ ! -e "/proc/$1" ] || [ "$(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null)" = Z ]
}

stop_one() {
    local name=$1 pattern=$2 pid i
    if alive "$name" "$pattern"; then
        pid=$(cat "$RIG/$name.pid")
        kill -TERM "$pid" 2>/dev/null
        for i in $(seq 1 50); do
            alive "$name" "$pattern" || break
            sleep 0.05
        done
        alive "$name" "$pattern" && kill -KILL "$pid" 2>/dev/null
        # Reap it when it is our own child; otherwise wait until it is gone.
        wait "$pid" 2>/dev/null
        for i in $(seq 1 40); do
            gone "$pid" && break
            sleep 0.05
        done
    fi
    rm -f "$RIG/$name.pid"
}

bridge_bin() {
    if [ -n "${QX_RIG_BRIDGE_BIN:-}" ]; then
        echo "$QX_RIG_BRIDGE_BIN"
        return
    fi
    local built=$ROOT/build/native/tools/pcscbridge/qx_pcscbridge own=$RIG/bin/qx_pcscbridge
    local src=$ROOT/tools/pcscbridge
    if [ -x "$built" ] && [ -z "$(find "$src" -newer "$built" -name '*.[ch]*' 2>/dev/null)" ]; then
        echo "$built"
        return
    fi
    # No current build of the native tree (for example `make run` after a cross build only):
    # compile the small daemon on its own.
    if [ ! -x "$own" ] || [ -n "$(find "$src" -newer "$own" -name '*.[ch]*' 2>/dev/null)" ]; then
        mkdir -p "$RIG/bin"
        g++ -std=c++17 -O2 -pthread -I"$ROOT" $(pkg-config --cflags libpcsclite) \
            "$src"/*.cpp -o "$own.tmp" $(pkg-config --libs libpcsclite) >&2 || die "cannot build the bridge"
        mv "$own.tmp" "$own"
    fi
    echo "$own"
}

# Two consecutive free TCP ports for vpcd's two slots (vpcd listens on all addresses).
free_port_pair() {
    python3 - <<'PY'
import random, socket
for _ in range(200):
    base = random.randrange(21000, 31000)
    socks = []
    try:
        for p in (base, base + 1):
            s = socket.socket(); s.bind(("0.0.0.0", p)); socks.append(s)
        print(base); break
    except OSError:
        pass
    finally:
        for s in socks: s.close()
PY
}

write_config() {
    local set=$1 dir=$RIG/conf-$1 port
    port=$(cat "$RIG/vpcd.port")
    rm -rf "$dir"
    mkdir -p "$dir"
    case $set in
    two) name="Virtual PCD" ;;
    renamed) name="Spare PCD" ;;
    none) echo "$dir"; return ;;
    *) die "unknown reader set '$set' (two, renamed, none)" ;;
    esac
    # One vpcd entry gives two slots, "<name> 00 00" on the port and "<name> 00 01" on port+1.
    printf 'FRIENDLYNAME "%s"\nDEVICENAME /dev/null:%d\nLIBPATH /usr/lib/pcsc/drivers/serial/libifdvpcd.so\nCHANNELID %d\n' \
        "$name" "$port" "$port" >"$dir/vpcd"
    echo "$dir"
}

start_pcscd() {
    local set=$1 conf ns
    conf=$(write_config "$set") || exit 1
    echo "$set" >"$RIG/readerset"
    rm -rf "$RIG/run"
    mkdir -p "$RIG/run"
    # pcscd always serves /run/pcscd/pcscd.comm (only clients honour PCSCLITE_CSOCK_NAME), so it
    # runs in a mount namespace of its own where our folder stands in for /run.
    if [ "$(id -u)" -eq 0 ]; then ns=(unshare --mount --propagation private); else
        ns=(unshare --user --map-root-user --mount --propagation private); fi
    "${ns[@]}" sh -c 'mount --bind "$1" /run && exec pcscd --foreground --config "$2"' qx-rig-pcscd \
        "$RIG/run" "$conf" </dev/null >>"$RIG/pcscd.log" 2>&1 9>&- &
    echo $! >"$RIG/pcscd.pid"
    local i
    for i in $(seq 1 100); do
        [ -S "$SOCK" ] && "$(bridge_bin)" --list >/dev/null 2>&1 && return 0
        [ "$set" = none ] && [ -S "$SOCK" ] && return 0
        # (Just after the fork the child still shows our own command line; only ask whether it exists.)
        gone "$(cat "$RIG/pcscd.pid")" && die "pcscd did not start (see $RIG/pcscd.log)"
        sleep 0.05
    done
    die "pcscd does not answer (see $RIG/pcscd.log)"
}

profile_path() {
    case $1 in
    */*) echo "$1" ;;
    *) echo "$PROFILES/${1%.profile}.profile" ;;
    esac
}

# Waits until the reader of SLOT shows the wanted state (present/empty) through pcscd.
wait_card() {
    local slot=$1 want=$2 i name
    [ "$(cat "$RIG/readerset" 2>/dev/null)" = none ] && return 0
    for i in $(seq 1 100); do
        if "$(bridge_bin)" --list 2>/dev/null | awk -F'\t' -v s=" 00 0$slot" -v w="$want" \
            'substr($1, length($1) - 5) == s && $2 == w { f = 1 } END { exit !f }'; then
            return 0
        fi
        sleep 0.05
    done
    echo "rig: reader $slot did not become $want" >&2
    return 1
}

start_card() {
    local slot=$1 profile=$2 path port
    echo "$profile" >"$RIG/profile$slot"
    [ "$profile" = none ] && return 0
    path=$(profile_path "$profile")
    python3 "$ROOT/tools/cardsim/cardsim.py" --check --profile "$path" --port 1 --log /dev/null || exit 1
    port=$(( $(cat "$RIG/vpcd.port") + slot ))
    python3 "$ROOT/tools/cardsim/cardsim.py" --profile "$path" --port "$port" --log "$RIG/card$slot.log" \
        </dev/null >>"$RIG/card$slot.err" 2>&1 9>&- &
    echo $! >"$RIG/card$slot.pid"
}

start_bridge() {
    local bin i
    bin=$(bridge_bin) || exit 1
    rm -f "$RIG/bridge.port"
    "$bin" --port 0 --port-file "$RIG/bridge.port" </dev/null >>"$RIG/bridge.log" 2>&1 9>&- &
    echo $! >"$RIG/bridge.pid"
    for i in $(seq 1 100); do
        [ -s "$RIG/bridge.port" ] && return 0
        gone "$(cat "$RIG/bridge.pid")" && die "the bridge did not start (see $RIG/bridge.log)"
        sleep 0.05
    done
    die "the bridge does not listen"
}

is_up() {
    alive pcscd pcscd && alive bridge qx_pcscbridge && [ -s "$RIG/bridge.port" ]
}

cmd_start() {
    local p0=${1:-default} p1=${2:-none}
    if is_up; then
        echo "rig: already running in $RIG"
        return 0
    fi
    cmd_stop >/dev/null
    [ -f "$RIG/vpcd.port" ] || free_port_pair >"$RIG/vpcd.port"
    [ -s "$RIG/vpcd.port" ] || die "no free ports"
    bridge_bin >/dev/null || exit 1
    start_pcscd two
    start_bridge
    start_card 0 "$p0"
    start_card 1 "$p1"
    [ "$p0" = none ] || wait_card 0 present || exit 1
    [ "$p1" = none ] || wait_card 1 present || exit 1
    echo "rig: up in $RIG (bridge port $(cat "$RIG/bridge.port"), readers on ports $(cat "$RIG/vpcd.port")+)"
}

cmd_stop() {
    stop_one card0 cardsim.py
    stop_one card1 cardsim.py
    stop_one bridge qx_pcscbridge
    stop_one pcscd pcscd
    rm -rf "$RIG/run"
    echo "rig: stopped"
}

cmd_status() {
    local n rc=0
    for n in pcscd:pcscd bridge:qx_pcscbridge card0:cardsim.py card1:cardsim.py; do
        if alive "${n%%:*}" "${n#*:}"; then echo "${n%%:*}: running (pid $(cat "$RIG/${n%%:*}.pid"))"
        else echo "${n%%:*}: stopped"; fi
    done
    is_up || rc=1
    [ $rc -eq 0 ] && echo "readers ($(cat "$RIG/readerset")):" && "$(bridge_bin)" --list | sed 's/^/  /'
    return $rc
}

cmd_swap_profile() {
    local slot=${1:-} profile=${2:-}
    [[ "$slot" =~ ^[01]$ ]] && [ -n "$profile" ] || die "usage: swap-profile 0|1 PROFILE|none"
    is_up || die "not running"
    if [ "$profile" != none ]; then
        python3 "$ROOT/tools/cardsim/cardsim.py" --check --profile "$(profile_path "$profile")" --port 1 \
            --log /dev/null || exit 1
    fi
    stop_one "card$slot" cardsim.py
    # pcscd must see the old card leave, or it keeps the old card's ATR.
    wait_card "$slot" empty || exit 1
    start_card "$slot" "$profile"
    [ "$profile" = none ] || wait_card "$slot" present
}

cmd_swap_reader_set() {
    local set=${1:-} slot p
    [ -n "$set" ] || die "usage: swap-reader-set two|renamed|none"
    # Also brings pcscd back after it died.
    alive bridge qx_pcscbridge || die "not running"
    stop_one pcscd pcscd
    start_pcscd "$set"
    for slot in 0 1; do
        p=$(cat "$RIG/profile$slot" 2>/dev/null || echo none)
        [ "$p" = none ] || wait_card "$slot" present || exit 1
    done
}

# Runs a Windows program with the rig's winscard.dll; the rig stays up afterwards for more runs.
cmd_wine() {
    [ $# -gt 0 ] || die "usage: wine PROGRAM [ARGS...]"
    local dir
    dir=$(dirname "$1")
    [ -f "$dir/winscard.dll" ] || die "no winscard.dll beside $1 (Wine loads ours only from there)"
    is_up || "$0" start || exit 1
    eval "$(cmd_env)"
    exec "$ROOT/scripts/wine-run.sh" "$@"
}

cmd_env() {
    is_up || die "not running"
    echo "export QX_RIG_DIR='$RIG'"
    echo "export PCSCLITE_CSOCK_NAME='$SOCK'"
    echo "export QX_PCSC_BRIDGE_PORT=$(cat "$RIG/bridge.port")"
    echo "export WINEDLLOVERRIDES='winscard=n;mscoree,mshtml=;winemenubuilder.exe=d'"
}

# One command at a time per rig folder (two starts at once would both find the rig down). The
# daemons must not inherit the lock's descriptor, or they would hold it for their whole life.
case ${1:-} in
start | stop | swap-profile | swap-reader-set)
    exec 9>"$RIG/.lock"
    flock -w 60 9 || die "another rig command holds $RIG/.lock"
    ;;
esac

case ${1:-} in
start) shift; cmd_start "$@" ;;
stop)
    cmd_stop
    if [ "${2:-}" = --purge ]; then
        exec 9>&-
        rm -rf "$RIG"
    fi
    ;;
status) cmd_status ;;
swap-profile) shift; cmd_swap_profile "$@" ;;
swap-reader-set) shift; cmd_swap_reader_set "$@" ;;
env) cmd_env ;;
wine) shift; cmd_wine "$@" ;;
list) "$(bridge_bin)" --list ;;
wait-card) shift; [[ "${1:-}" =~ ^[01]$ ]] && [[ "${2:-}" =~ ^(present|empty)$ ]] || die "usage: wait-card 0|1 present|empty"
    wait_card "$1" "$2" ;;
*) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; exit 2 ;;
esac
