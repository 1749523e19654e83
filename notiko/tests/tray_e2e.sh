#!/usr/bin/env bash
# End to end in a real tray: a private X server with an XEmbed system tray
# (trayer), the test host docking the control's icon, and real clicks on it.
#   tray_e2e.sh <host-program>
set -euo pipefail
host=$1

. "$(dirname "$0")/e2e_lib.sh"
log=$work/host.log
start_xvfb

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
