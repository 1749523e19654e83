#!/usr/bin/env bash
# Prints a pay-slip window through a print system of the test's own and checks
# the page that comes out. As the user running the test, inside one temporary
# folder, it starts a CUPS scheduler on a free loopback port and an IPP
# Everywhere printer (ippeveprinter) that keeps each job's PDF; the probe finds
# the scheduler through CUPS_SERVER and prints on its default printer. The
# machine's own print system is neither used nor changed, and root is not
# needed. Needs cups, cups-client, cups-ipp-utils, dbus-daemon and
# poppler-utils (scripts/lib.sh).
#   print_cups.sh <print_probe>
set -euo pipefail
probe=$1
queue=voldar-test

for tool in cupsd lpadmin lpstat ipptool ippeveprinter dbus-daemon setpriv setsid pkill \
    pdfinfo pdftoppm; do
    command -v "$tool" >/dev/null || { echo "missing $tool: install the test packages" >&2; exit 1; }
done
# ippeveprinter listens on both loopback addresses and gives up without ::1.
grep -qs '^0\{31\}1 ' /proc/net/if_inet6 ||
    { echo "ippeveprinter needs the IPv6 loopback address ::1, which is missing" >&2; exit 1; }

work=$(mktemp -d)
# Run as root, the scheduler runs its filters as user lp, which must reach
# its folders inside this one.
[ "$(id -u)" -ne 0 ] || chmod 0711 "$work"

# A test killed at its time limit gets no chance to clean up. Each server runs
# in a session of its own, listed in "sessions", with a death signal, so it
# dies with this script however that ends. What it started (the scheduler's
# backends) does not; a guard outside the test's process group kills what is
# left in those sessions once this script is gone, and removes the folder.
# shellcheck disable=SC2016 # expanded by the guard's own shell
setsid -f bash -c 'tail --pid="$1" -f /dev/null
    if [ -f "$2/sessions" ]; then
        while read -r session; do pkill -KILL -s "$session"; done <"$2/sessions"
    fi
    rm -rf -- "$2"' guard $$ "$work" </dev/null >/dev/null 2>&1

server_pids=()
stop_server() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    pkill -KILL -s "$1" 2>/dev/null || true
}
# Stops the servers in the reverse order of their start, the scheduler before
# the printer before the bus, and removes everything.
cleanup() {
    set +e
    local i
    for ((i = ${#server_pids[@]} - 1; i >= 0; i--)); do
        stop_server "${server_pids[i]}"
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# Every client here (the probe, lpadmin, ipptool) reads its settings from the
# test's folder, not from the user's home or /etc/cups, and D-Bus clients meet
# only the test's own bus, so nothing is announced on the network.
mkdir -p "$work"/{home,runtime,tmp,client,log,printed}
chmod 0700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
export CUPS_SERVERROOT=$work/client
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus
unset CUPS_SERVER LPDEST PRINTER

fail() {
    echo "$*" >&2
    local log
    for log in "$work"/log/*; do
        [ -s "$log" ] || continue
        echo "--- ${log##*/}" >&2
        tail -n 40 "$log" >&2
    done
    exit 1
}

# A port below the kernel's range for outgoing connections that nothing
# listens on now. Another program may still take it first: the callers retry.
free_port() {
    local low port hex
    read -r low _ </proc/sys/net/ipv4/ip_local_port_range
    for _ in $(seq 100); do
        port=$((10000 + RANDOM % (low - 10000)))
        hex=$(printf '%04X' "$port")
        grep -qE "^ *[0-9]+: [0-9A-F]+:$hex [0-9A-F]+:[0-9A-F]+ 0A " \
            /proc/net/tcp /proc/net/tcp6 2>/dev/null || { echo "$port"; return 0; }
    done
    return 1
}

# Waits up to 10 s for <check> to pass (0) while process <pid> lives; the
# check gives up at once with 2.
wait_until_up() {
    local pid=$1 check=$2 state
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || return 1
        state=0
        "$check" || state=$?
        [ "$state" = 0 ] && return 0
        [ "$state" = 2 ] && return 1
        sleep 0.1
    done
    return 1
}

# Starts a server in a new session (whose id is its pid) with a death signal,
# and records it for the clean-up.
start_server() {
    local log=$1
    shift
    setsid setpriv --pdeathsig KILL -- "$@" </dev/null >"$work/log/$log" 2>&1 &
    started_pid=$!
    server_pids+=("$started_pid")
    echo "$started_pid" >>"$work/sessions"
}

# ippeveprinter will not start without a D-Bus system bus to announce itself
# on; it gets a private one, where no one hears the announcement.
start_bus() {
    cat >"$work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>${DBUS_SYSTEM_BUS_ADDRESS}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    start_server bus.log dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile \
        --nosyslog
    wait_until_up "$started_pid" bus_up || fail "the private D-Bus bus did not start"
}
bus_up() { [ -S "$work/bus" ]; }

# Up when the printer answers, and it is this test's printer that answered
# (its log has the question), not some other program that took the port.
printer_up() {
    ipptool -q -T 2 "ipp://localhost:$printer_port/ipp/print" get-printer-attributes.test \
        2>/dev/null && grep -qs Get-Printer-Attributes "$work/log/ippeveprinter.log" || return 1
}

# The printer accepts PDF and keeps every job's document in "printed". It is
# bound to localhost only and announces nothing. Each job goes to a command
# that does nothing, so a job ends at once instead of after a simulated
# printing time of several seconds.
start_printer() {
    local nothing
    nothing=$(type -P true)
    for _ in 1 2 3; do
        printer_port=$(free_port) || fail "no free port for the printer"
        start_server ippeveprinter.log ippeveprinter -p "$printer_port" -n localhost -r off -k \
            -c "$nothing" -d "$work/printed" -f application/pdf,image/pwg-raster "Voldar test"
        wait_until_up "$started_pid" printer_up && return 0
        stop_server "$started_pid"
    done
    fail "ippeveprinter did not start"
}

# cupsd keeps running when its port is taken, so its log tells whether it
# got the port.
scheduler_up() {
    local log=$work/log/error_log
    if grep -qs "Unable to open listen socket for address 127.0.0.1:$cups_port " "$log"; then
        return 2
    fi
    grep -qs "Listening to 127.0.0.1:$cups_port on fd" "$log" &&
        lpstat -h "127.0.0.1:$cups_port" -r 2>/dev/null | grep -q 'is running' || return 1
}

# The scheduler's configuration: every folder it writes in the test's folder,
# no browsing. Printing is open to loopback on the port; setting up printers
# is for the test's user alone, proven by the credentials of the connection
# on a socket in a folder only that user can enter, so that no other user can
# slip the scheduler a printer with a description of their own meanwhile.
write_scheduler_config() {
    local conf=$work/cups
    mkdir -p "$conf" "$work"/{spool/tmp,cache,state,admin}
    chmod 0700 "$work/admin"
    cat >"$conf/cups-files.conf" <<EOF
ServerRoot $conf
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
ServerKeychain $conf/ssl
CreateSelfSignedCerts no
Printcap $work/printcap
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
PeerCred on
EOF
    cat >"$conf/cupsd.conf" <<EOF
LogLevel info
Listen 127.0.0.1:$cups_port
Listen $admin_socket
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType Basic
<Location />
  Order deny,allow
  Deny from all
  Allow localhost
</Location>
<Policy default>
  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Add-Modify-Class CUPS-Delete-Class CUPS-Set-Default CUPS-Get-Devices Pause-Printer Resume-Printer Enable-Printer Disable-Printer Hold-New-Jobs Release-Held-New-Jobs CUPS-Accept-Jobs CUPS-Reject-Jobs Cancel-Jobs>
    AuthType Default
    Require user $(id -un)
  </Limit>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

start_scheduler() {
    for _ in 1 2 3; do
        cups_port=$(free_port) || fail "no free port for the scheduler"
        write_scheduler_config
        start_server cupsd.log cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf"
        wait_until_up "$started_pid" scheduler_up && return 0
        stop_server "$started_pid"
    done
    fail "cupsd did not start:" \
        "$(cupsd -t -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" 2>&1)"
}

admin_socket=$work/admin/cups.sock
start_bus
start_printer
start_scheduler

# The printer's own description makes the queue (IPP Everywhere); the default
# of the test's scheduler is the printer the probe gets.
CUPS_SERVER=$admin_socket lpadmin -p "$queue" -E -v "ipp://localhost:$printer_port/ipp/print" \
    -m everywhere </dev/null || fail "lpadmin could not add the queue"
CUPS_SERVER=$admin_socket lpadmin -d "$queue" </dev/null ||
    fail "lpadmin could not make the queue the default"

export CUPS_SERVER=127.0.0.1:$cups_port

setpriv --pdeathsig KILL -- "$probe" print || fail "print_probe print ended with status $?"

# The job is done when the scheduler has handed it to the printer and the
# printer has finished it.
for _ in $(seq 300); do
    [ -z "$(lpstat -W not-completed -o "$queue")" ] && break
    sleep 0.1
done
[ -z "$(lpstat -W not-completed -o "$queue")" ] ||
    fail "the job did not finish within 30 s: $(lpstat -l -o "$queue" -p "$queue")"
# The scheduler logs how each job ended: the one job must have been printed,
# not stopped, aborted or cancelled.
printed_jobs=$(grep -c '\] Job completed\.$' "$work/log/error_log" || true)
[ "$printed_jobs" = 1 ] || fail "expected one printed job, the scheduler logged ${printed_jobs:-0}"

mapfile -t pdfs < <(find "$work/printed" -maxdepth 1 -type f -name '*.pdf')
[ "${#pdfs[@]}" = 1 ] || fail "expected one PDF at the printer, found ${#pdfs[@]}:" \
    "$(ls -l "$work/printed")"
pdf=${pdfs[0]}
echo "job landed as ${pdf##*/}"

info=$(pdfinfo "$pdf") || fail "the printed document is no readable PDF"
pages=$(sed -n 's/^Pages:[[:space:]]*//p' <<<"$info")
[ "$pages" = 1 ] || fail "expected one page, got ${pages:-none}"
# A4 or Letter: between 500 and 650 points wide, 700 and 900 high.
read -r width height < <(sed -n 's/^Page size:[[:space:]]*\([0-9.]*\) x \([0-9.]*\) pts.*/\1 \2/p' <<<"$info")
awk -v w="$width" -v h="$height" 'BEGIN { exit !(w > 500 && w < 650 && h > 700 && h < 900) }' ||
    fail "unexpected page size ${width} x ${height} pts"

pdftoppm -r 50 -png -singlefile "$pdf" "$work/page"
"$probe" check "$work/page.png" || fail "the page does not show the window"
echo "printed one ${width} x ${height} pt page with the window on it"
