#!/usr/bin/env bash
# End to end through StatusNotifierItem: a private session bus with our own
# watcher, the test host registering its item, and the host's Activate and
# ContextMenu methods called as a tray host would call them.
#   sni_e2e.sh <host-program> <watcher-program>
set -euo pipefail
host=$1
watcher=$2

# A session bus of our own for the whole test.
if [ -z "${NOTIKO_SNI_BUS:-}" ]; then
    NOTIKO_SNI_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

. "$(dirname "$0")/e2e_lib.sh"
log=$work/host.log
wlog=$work/watcher.log
extra_logs=("$wlog")
start_xvfb

"$watcher" >"$wlog" 2>&1 &
pids+=($!)
wait_for grep -qx READY "$wlog" || fail "the watcher did not start"

QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= "$host" >"$log" 2>"$work/host.err" &
pids+=($!)
wait_for in_log "CREATE 1" || fail "the control was not created"
wait_for grep -q '^ITEM ' "$wlog" || fail "no item registered with the watcher"
item=$(sed -n 's/^ITEM //p' "$wlog" | head -n1)

call() {
    dbus-send --session --print-reply --dest="$item" /StatusNotifierItem \
        "org.kde.StatusNotifierItem.$1" int32:10 int32:10 >/dev/null
}

call Activate || fail "Activate failed"
wait_for in_log "MENU Помощь" || fail "no Помощь menu for Activate"
close_menu Помощь || fail "the Помощь menu did not close"

call ContextMenu || fail "ContextMenu failed"
wait_for in_log "MENU Файл" || fail "no Файл menu for ContextMenu"
close_menu Файл || fail "the Файл menu did not close"

for line in LeftClick RightClick "MouseMsg 513" "MouseMsg 514" "MouseMsg 516" "MouseMsg 517"; do
    in_log "$line" || fail "missing: $line"
done
echo "StatusNotifierItem end-to-end: ok"
cat "$log"
