# Shared by the end-to-end scripts: a scratch folder, the processes started
# (stopped on exit), a private X server, and waiting for the host's log.
# Sourced, not run. Set `log` (the host's output) before using in_log.

work=$(mktemp -d)
extra_logs=()
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    local file
    echo "FAIL: $*" >&2
    for file in "$log" "${extra_logs[@]}"; do
        echo "--- $(basename "$file") ---" >&2
        cat "$file" >&2 || true
    done
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

# A private X server on a display it chooses itself; exports DISPLAY.
start_xvfb() {
    local number_file=$work/display
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset \
        3>"$number_file" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for test -s "$number_file" || fail "Xvfb did not start"
    DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    export DISPLAY
    wait_for xdpyinfo || fail "Xvfb did not answer"
}
