#!/usr/bin/env bash
# End to end in a real tray: a private X server with an XEmbed system tray
# (trayer), the test host docking the control's icon, and real clicks on it.
#   tray_e2e.sh <host-program>
set -euo pipefail
host=$1

work=$(mktemp -d)
log=$work/host.log
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- host output ---" >&2
    cat "$log" >&2 || true
    exit 1
}

# Waits up to 10 s for a command to succeed.
wait_for() {
    local _
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

in_log() { grep -qxF "$1" "$log"; }

# Closes the open popup menu: Escape, again until the host says it closed (the
# menu may not hold the keyboard yet when it announces itself).
close_menu() {
    local _
    for _ in $(seq 50); do
        xdotool key Escape
        sleep 0.2
        in_log "CLOSED $1" && return 0
    done
    return 1
}

# A display of our own among :71..:73 (:74 and :75 are the StatusNotifierItem test's).
display=
for n in 71 72 73; do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display among :71..:73"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
wait_for xdpyinfo || fail "Xvfb did not start"

# No session bus: Qt must use the XEmbed tray, not StatusNotifierItem.
unset DBUS_SESSION_BUS_ADDRESS
trayer --edge top --align left --widthtype request --height 24 --SetDockType false \
    --SetPartialStrut false --transparent false >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for xdotool search --class trayer || fail "trayer did not start"

QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= "$host" >"$log" 2>"$work/host.err" &
pids+=($!)
wait_for in_log "CREATE 1" || fail "the control was not created"

# The docked icon is the host's only visible window.
icon=
find_icon() { icon=$(xdotool search --onlyvisible --classname notiko_tst_tray_host | head -n1); [ -n "$icon" ]; }
wait_for find_icon || fail "the icon did not appear in the tray"

xdotool mousemove --window "$icon" 8 8 click 1
wait_for in_log "LeftClick" || fail "no LeftClick for a left click"
wait_for in_log "MENU Помощь" || fail "no Помощь menu"
close_menu Помощь || fail "the Помощь menu did not close"

xdotool mousemove --window "$icon" 8 8 click 3
wait_for in_log "RightClick" || fail "no RightClick for a right click"
wait_for in_log "MENU Файл" || fail "no Файл menu"
close_menu Файл || fail "the Файл menu did not close"

in_log "MouseMsg 513" || fail "no MouseMsg 513"
in_log "MouseMsg 516" || fail "no MouseMsg 516"
grep -qx "LeftClick" <(grep -x "RightClick\|LeftClick" "$log" | head -n1) || fail "events out of order"
echo "tray end-to-end: ok"
cat "$log"
