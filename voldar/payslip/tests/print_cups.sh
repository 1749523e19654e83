#!/usr/bin/env bash
# Prints a pay-slip window through a print system of the test's own and checks
# the page that comes out: as the test's user, in one temporary folder, a CUPS
# scheduler on a free loopback port and an IPP Everywhere printer
# (ippeveprinter) that keeps each job's PDF. The machine's print system is
# neither used nor changed. Packages: scripts/lib.sh.
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
# Run as root, the scheduler's filters run as user lp and must reach in here.
[ "$(id -u)" -ne 0 ] || chmod 0711 "$work"

# A test killed at its time limit cannot clean up. Each server runs in a
# session of its own, listed in "sessions", with a death signal; a guard
# outside the test's process group kills what is left in those sessions (the
# scheduler's backends) once this script is gone, and removes the folder.
# shellcheck disable=SC2016 # expanded by the guard's own shell
setsid -f bash -c 'tail --pid="$1" -f /dev/null
    while read -r session; do pkill -KILL -s "$session"; done <"$2/sessions"
    rm -rf -- "$2"' guard $$ "$work" </dev/null >/dev/null 2>&1

server_pids=()
stop_server() { { kill "$1"; wait "$1"; pkill -KILL -s "$1"; } 2>/dev/null || true; }
# Stops the servers, the last started first, and removes everything.
cleanup() {
    set +e
    for pid in "${server_pids[@]}"; do stop_server "$pid"; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# Every client reads its settings from the test's folder, not from the home or
# /etc/cups, and meets only the test's own D-Bus bus: nothing is announced.
mkdir -p "$work"/{home,runtime,tmp,client,log,printed}
chmod 0700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
export CUPS_SERVERROOT=$work/client
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus
unset CUPS_SERVER LPDEST PRINTER

fail() {
    echo "$*" >&2
    tail -n 40 "$work"/log/* >&2 || true
    exit 1
}

# A port below the range for outgoing connections that nothing listens on now.
# Another program may still take it first: start_on_free_port retries.
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

# wait_until_up <pid> <check> [tenths of a second, 100]: until <check> passes
# (0) while <pid> lives; the check gives up at once with 2.
wait_until_up() {
    local pid=$1 check=$2
    for _ in $(seq "${3:-100}"); do
        kill -0 "$pid" 2>/dev/null || return 1
        "$check" && return 0
        [ $? = 2 ] && return 1
        sleep 0.1
    done
    return 1
}

# Starts a server in a new session (whose id is its pid) with a death signal.
start_server() {
    setsid setpriv --pdeathsig KILL -- "${@:2}" </dev/null >"$work/log/$1" 2>&1 &
    started_pid=$!
    server_pids=("$started_pid" "${server_pids[@]}")
    echo "$started_pid" >>"$work/sessions"
}

# ippeveprinter needs a D-Bus system bus to announce itself on: a private one.
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
start_server bus.log dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile --nosyslog
bus_up() { [ -S "$work/bus" ]; }
wait_until_up "$started_pid" bus_up || fail "the private D-Bus bus did not start"

# Up when the printer answers, and it is this test's printer that answered
# (its log has the question), not some other program that took the port.
printer_up() {
    ipptool -q -T 2 "ipp://localhost:$printer_port/ipp/print" get-printer-attributes.test \
        2>/dev/null && grep -qs Get-Printer-Attributes "$work/log/ippeveprinter.log" || return 1
}

# start_on_free_port <what> <start> <up>: <start> starts the server on a new
# free $port, up to three times until it is <up>.
start_on_free_port() {
    for _ in 1 2 3; do
        port=$(free_port) || fail "no free port for $1"
        "$2"
        wait_until_up "$started_pid" "$3" && return 0
        stop_server "$started_pid"
    done
    return 1
}

# The printer accepts PDF and keeps every job's document in "printed", bound
# to localhost, announcing nothing. Jobs go to a command that does nothing, so
# that they end at once, not after a simulated printing time.
start_printer() {
    printer_port=$port
    start_server ippeveprinter.log ippeveprinter -p "$port" -n localhost -r off -k \
        -c "$(type -P true)" -d "$work/printed" -f application/pdf,image/pwg-raster "Voldar test"
}

# cupsd keeps running when its port is taken, so its log tells whether it
# got the port.
scheduler_up() {
    local log=$work/log/error_log
    ! grep -qs "Unable to open listen socket for address 127.0.0.1:$cups_port " "$log" || return 2
    grep -qs "Listening to 127.0.0.1:$cups_port on fd" "$log" &&
        lpstat -h "127.0.0.1:$cups_port" -r 2>/dev/null | grep -q 'is running' || return 1
}

# Every folder the scheduler writes is in the test's folder; no browsing.
# Printing is open to loopback; setting up printers only to the test's user,
# by the peer credentials on a socket in a folder only that user can enter.
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
    cups_port=$port
    write_scheduler_config
    start_server cupsd.log cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf"
}

admin_socket=$work/admin/cups.sock
start_on_free_port printer start_printer printer_up || fail "ippeveprinter did not start"
start_on_free_port scheduler start_scheduler scheduler_up || fail "cupsd did not start:" \
    "$(cupsd -t -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" 2>&1)"

# The queue from the printer's own description; the probe gets the default.
CUPS_SERVER=$admin_socket lpadmin -p "$queue" -E -v "ipp://localhost:$printer_port/ipp/print" \
    -m everywhere </dev/null || fail "lpadmin could not add the queue"
CUPS_SERVER=$admin_socket lpadmin -d "$queue" </dev/null ||
    fail "lpadmin could not make the queue the default"

export CUPS_SERVER=127.0.0.1:$cups_port

setpriv --pdeathsig KILL -- "$probe" print || fail "print_probe print ended with status $?"

# Done when the scheduler has handed the job to the printer and it finished.
job_done() { [ -z "$(lpstat -W not-completed -o "$queue")" ]; }
wait_until_up $$ job_done 300 ||
    fail "the job did not finish within 30 s: $(lpstat -l -o "$queue" -p "$queue")"
# The one job printed, not stopped, aborted or cancelled.
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
