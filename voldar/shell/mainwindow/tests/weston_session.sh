#!/usr/bin/env bash
# A headless Weston of the test's own, without ("native") or with XWayland.
# Runs tst_wayland there, then looks for the program's main window: a Wayland
# window of its desktop entry, or with XWayland an X window of class voldar.
#   weston_session.sh native|xwayland <tst_wayland> <voldar>
set -euo pipefail
mode=$1 probe=$2 voldar=$3
tools=(weston weston-debug) options=()
[ "$mode" = xwayland ] && tools+=(Xwayland xdotool xprop) options=(--xwayland)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "missing $tool: install the test packages" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    set +e
    for pid in "${pids[@]}"; do kill "$pid" && wait "$pid"; done 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS XAUTHORITY
export XDG_RUNTIME_DIR=$work/run HOME=$work/home XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=test
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"

# Weston names XWayland's display, the first free one, in its log.
weston --backend=headless-backend.so --socket=test --width=1280 --height=1024 --idle-time=0 \
    --debug --log="$work/weston.log" "${options[@]}" &
pids=($!)
ready() { [ -S "$XDG_RUNTIME_DIR/test" ] && { [ "$mode" = native ] || grep -q 'listening on display' "$work/weston.log"; }; }
for _ in $(seq 100); do ready && break; sleep 0.1; done
ready || { echo "weston did not come up within 10 s" >&2; cat "$work/weston.log" >&2; exit 1; }

# Whole stacks, for the leak suppressions of Qt's Wayland platform and Mesa.
run_probe() { LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:fast_unwind_on_malloc=0} "$probe"; }
if [ "$mode" = native ]; then
    EXPECTED_QT_PLATFORM=wayland run_probe
else
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
    export DISPLAY
    EXPECTED_QT_PLATFORM=xcb run_probe
    QT_QPA_PLATFORM=wayland EXPECTED_QT_PLATFORM=wayland run_probe
fi

"$voldar" &
pids=($! "${pids[@]}")
shown() {
    if [ "$mode" = native ]; then
        weston-debug scene-graph 2>/dev/null | grep -q "PID ${pids[0]}, .*window '[^']*v\.3\.0[^']*' of org\.example\.Voldar,"
    else
        local window
        window=$(xdotool search --all --onlyvisible --pid "${pids[0]}" --name 'v\.3\.0' 2>/dev/null | head -n 1)
        [ -n "$window" ] && xprop -id "$window" WM_CLASS | grep -q ', "voldar"$'
    fi
}
# The splash stays five seconds; a busy machine is waited for generously.
for _ in $(seq 150); do shown && break; sleep 0.2; done
shown || { echo "no main window of voldar in the $mode session within 30 s" >&2; exit 1; }
