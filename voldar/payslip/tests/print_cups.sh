#!/usr/bin/env bash
# Prints a pay-slip window through a real CUPS queue and checks the page that
# comes out. The queue is a cups-pdf printer, so the "paper" is a PDF in the
# user's cups-pdf output folder. Starts the CUPS scheduler if it is not
# running and stops it again; adds its own queue, makes it the default for the
# run and removes it afterwards. Needs cups, cups-client,
# printer-driver-cups-pdf and poppler-utils (scripts/lib.sh).
#   print_cups.sh <print_probe>
set -euo pipefail
probe=$1
queue=VoldarTestPDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

for tool in cupsd lpadmin lpstat pdfinfo pdftoppm; do
    command -v "$tool" >/dev/null || { echo "missing $tool: install the test packages" >&2; exit 1; }
done
[ -f "$ppd" ] || { echo "missing $ppd: install printer-driver-cups-pdf" >&2; exit 1; }

work=$(mktemp -d)
cupsd_pid=
old_default=
queue_added=
cleanup() {
    set +e
    [ -n "$queue_added" ] && lpadmin -x "$queue"
    [ -n "$old_default" ] && lpadmin -d "$old_default"
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid"
        wait "$cupsd_pid" 2>/dev/null
    fi
    [ -s "$work/new" ] && xargs -d '\n' rm -f <"$work/new"
    rm -rf "$work"
}
trap cleanup EXIT

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

# The print jobs go to the scheduler on this machine, nowhere else.
unset CUPS_SERVER LPDEST PRINTER

if ! scheduler_running; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "the CUPS scheduler is not running and only root can start it:" \
            "start cupsd or run the tests as root" >&2
        exit 1
    fi
    cupsd -f &
    cupsd_pid=$!
    for _ in $(seq 100); do
        scheduler_running && break
        kill -0 "$cupsd_pid" 2>/dev/null || { echo "cupsd exited at start" >&2; cupsd_pid=; exit 1; }
        sleep 0.1
    done
    scheduler_running || { echo "cupsd did not come up within 10 s" >&2; exit 1; }
fi

old_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
lpadmin -p "$queue" -v cups-pdf:/ -E -P "$ppd"
queue_added=yes
lpadmin -d "$queue"

# cups-pdf writes into its Out folder, ${HOME}/PDF unless configured otherwise.
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
out=${out:-'${HOME}/PDF'}
out=${out//'${HOME}'/$home}
mkdir -p "$out"
find "$out" -maxdepth 1 -name '*.pdf' | sort >"$work/before"

"$probe" print

# Wait for the job to land as a complete PDF (its size stops changing).
pdf=
for _ in $(seq 300); do
    find "$out" -maxdepth 1 -name '*.pdf' | sort | comm -13 "$work/before" - >"$work/new"
    if [ -s "$work/new" ]; then
        pdf=$(head -n 1 "$work/new")
        size=$(stat -c %s "$pdf")
        sleep 0.2
        [ "$size" -gt 0 ] && [ "$size" = "$(stat -c %s "$pdf")" ] && break
        pdf=
    fi
    sleep 0.1
done
[ -n "$pdf" ] || { echo "no PDF arrived in $out within 30 s; queue state:" >&2; lpstat -o -p >&2; exit 1; }
echo "job landed as $pdf"

info=$(pdfinfo "$pdf")
pages=$(sed -n 's/^Pages:[[:space:]]*//p' <<<"$info")
[ "$pages" = 1 ] || { echo "expected one page, got ${pages:-none}" >&2; exit 1; }
# A4 or Letter: between 500 and 650 points wide, 700 and 900 high.
read -r width height < <(sed -n 's/^Page size:[[:space:]]*\([0-9.]*\) x \([0-9.]*\) pts.*/\1 \2/p' <<<"$info")
awk -v w="$width" -v h="$height" 'BEGIN { exit !(w > 500 && w < 650 && h > 700 && h < 900) }' ||
    { echo "unexpected page size ${width} x ${height} pts" >&2; exit 1; }

pdftoppm -r 50 -png -singlefile "$pdf" "$work/page"
"$probe" check "$work/page.png"
echo "printed one ${width} x ${height} pt page with the window on it"
