#!/usr/bin/env bash
# Checks the Debian packages of Voldar (voldar and libnotiko1) and installs
# them on a clean Debian 12: lintian finds no error and no warning (nor a
# missing hardening flag), dependencies are declared, files are in place,
# /usr/bin/voldar starts under Xvfb and shows its main window after the
# splash, the user's Data folder is seeded with the salary files, the
# tray-icon control is found, and removing the packages removes their files.
#
#   packaging/tests/package_check.sh [--host] [voldar.deb libnotiko1.deb]
#
# Without names it takes the newest of each in build-pkg/ (scripts/package).
# By default the packages go into a throwaway root made with debootstrap
# (minbase bookworm); the pristine root is kept as a tarball in
# $VOLDAR_CHECK_CACHE (default ~/.cache/voldar-package-check) so that later
# runs skip the download. --host installs them on this machine instead
# (dpkg -i, apt-get -f install) and removes them again afterwards.
#
# Needs root and network access to the Debian mirror ($DEBIAN_MIRROR); installs
# what it uses here (lintian, debootstrap, xvfb, xdotool, x11-utils); trayer is
# used when present to give the tray icon a home. Not part of the test suite:
# it installs system packages.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
CACHE=${VOLDAR_CHECK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/voldar-package-check}

mode=chroot
deb=
lib_deb=
for arg in "$@"; do
    case $arg in
    --host) mode=host ;;
    -h | --help)
        sed -n '2,21p' "$0"
        exit 0
        ;;
    */libnotiko1_*.deb | libnotiko1_*.deb) lib_deb=$arg ;;
    *) deb=$arg ;;
    esac
done
newest() { ls -t "$ROOT"/build-pkg/"$1"_*.deb 2>/dev/null | head -n 1 || true; }
deb=${deb:-$(newest voldar)}
lib_deb=${lib_deb:-$(newest libnotiko1)}
[ -n "$deb" ] && [ -f "$deb" ] && [ -n "$lib_deb" ] && [ -f "$lib_deb" ] || {
    echo "No packages: build them with scripts/package or name both." >&2
    exit 2
}
deb=$(realpath "$deb")
lib_deb=$(realpath "$lib_deb")
[ "$(id -u)" -eq 0 ] || {
    echo "Run as root: the check installs packages." >&2
    exit 2
}
. "$ROOT/scripts/lib.sh"
CHECK_PACKAGES=(lintian xvfb xauth xdotool x11-utils)
[ "$mode" = chroot ] && CHECK_PACKAGES+=(debootstrap)
ensure_packages "${CHECK_PACKAGES[@]}"

failures=0
pass() { echo "PASS  $*"; }
fail() {
    echo "FAIL  $*"
    failures=$((failures + 1))
}
check() { # check <description> <command...>
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

work=$(mktemp -d /var/tmp/voldar-check.XXXXXX)
root=
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ -n "$root" ]; then
        local _
        for _ in 1 2 3 4 5; do
            mountpoint -q "$root/proc" || break
            umount "$root/proc" 2>/dev/null || sleep 1
        done
        mountpoint -q "$root/proc" && umount -l "$root/proc"
        # Never delete through a mount that is still there.
        if findmnt -rn -o TARGET | grep -q "^$root"; then
            echo "Left $root in place: something is still mounted there." >&2
        else
            rm -rf "$root"
        fi
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# --- The packages themselves -------------------------------------------------
echo "Packages: $deb $lib_deb"
# Errors and warnings, and the missing hardening and empty folders that
# lintian reports only as information.
lintian_out=$work/lintian.txt
if lintian --display-info --fail-on none "$deb" "$lib_deb" >"$lintian_out" 2>&1; then
    found=$(grep -E '^[EW]: |^I: [^:]+: (hardening-[a-z-]+|package-contains-empty-directory) ' \
        "$lintian_out" || true)
    check "lintian: no errors, warnings, missing hardening or empty folders" test -z "$found"
    [ -z "$found" ] || echo "$found"
else
    fail "lintian runs"
    cat "$lintian_out"
fi

version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libc6 libstdc++6 \
    qt6-translations-l10n qt6-wayland; do
    check "depends on $lib" grep -q "\b$lib\b" <<<"$depends"
done
check "depends on libnotiko1 of its own version" grep -qF "libnotiko1 (= $version)" <<<"$depends"
check "libnotiko1 has the same version" test "$(dpkg-deb -f "$lib_deb" Version)" = "$version"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/voldar ./usr/share/applications/org.example.Voldar.desktop \
    ./usr/share/metainfo/org.example.Voldar.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/org.example.Voldar.png \
    ./usr/share/voldar/Data/Zvanie.Txt ./usr/share/voldar/Data/Dolznost.Txt \
    ./usr/share/voldar/Data/Pravila.Txt ./usr/share/man/man1/voldar.1.gz; do
    check "voldar ships $path" grep -qx -- "$path" <<<"$contents"
done
lib_contents=$(dpkg-deb -c "$lib_deb" | awk '{print $6}')
check "libnotiko1 ships the library" grep -q '^./usr/lib/.*/libnotiko\.so\.1$' <<<"$lib_contents"
check "libnotiko1 ships the registration" grep -qx ./etc/xdg/notiko/components.ini <<<"$lib_contents"
check "voldar ships no library and no registration" \
    bash -c '! grep -qE "libnotiko|^./etc/" <<<"$1"' _ "$contents"
check "neither ships development files" bash -c \
    '! grep -qE "^./usr/include/|\.a$|/cmake/|libnotiko\.so$" <<<"$1"' _ "$contents"$'\n'"$lib_contents"
control_file() { dpkg-deb --ctrl-tarfile "$1" | tar -xOf - "./$2" 2>/dev/null; }
check "the registration is a conffile" grep -qx /etc/xdg/notiko/components.ini \
    <<<"$(control_file "$lib_deb" conffiles)"
check "libnotiko1 declares its SONAME" grep -qx "libnotiko 1 libnotiko1 .*" \
    <<<"$(control_file "$lib_deb" shlibs)"
# Older voldar packages held the library and the registration themselves.
for field in Breaks Replaces; do
    check "libnotiko1 $field older voldar packages" grep -q '^voldar (<< ' \
        <<<"$(dpkg-deb -f "$lib_deb" "$field")"
done

# --- A place to install it ---------------------------------------------------
run=() # prefix that runs a command in the system under test
if [ "$mode" = chroot ]; then
    tarball=$CACHE/bookworm-minbase.tar.gz
    if [ ! -f "$tarball" ]; then
        echo "Making a minimal Debian 12 root (cached in $tarball)..."
        mkdir -p "$CACHE"
        fresh=$work/fresh
        debootstrap --variant=minbase bookworm "$fresh" "$MIRROR" >"$work/debootstrap.log" 2>&1 ||
            { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }
        tar -C "$fresh" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
        rm -rf "$fresh"
    fi
    root=$(mktemp -d /var/tmp/voldar-root.XXXXXX)
    tar -C "$root" -xzf "$tarball"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    run=(/usr/sbin/chroot "$root")
    cp "$deb" "$root/tmp/voldar.deb"
    cp "$lib_deb" "$root/tmp/libnotiko1.deb"
    echo "Installing into $root..."
    if "${run[@]}" apt-get update -qq >"$work/apt.log" 2>&1 &&
        DEBIAN_FRONTEND=noninteractive "${run[@]}" apt-get install -y -qq --no-install-recommends \
            /tmp/voldar.deb /tmp/libnotiko1.deb >>"$work/apt.log" 2>&1; then
        pass "apt-get installs the packages and their dependencies on a clean Debian 12"
    else
        fail "apt-get install"
        tail -n 30 "$work/apt.log"
        exit 1
    fi
    "${run[@]}" useradd -m tester
    user_home=/home/tester
    as_user=(/usr/sbin/chroot --userspec=tester:tester "$root")
else
    for package in voldar libnotiko1; do
        if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'installed'; then
            echo "$package is already installed here; remove it first or use the chroot check." >&2
            exit 2
        fi
    done
    echo "Installing on this machine..."
    if dpkg -i "$deb" "$lib_deb" >"$work/apt.log" 2>&1 ||
        DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/apt.log" 2>&1; then
        pass "dpkg -i / apt-get -f install"
    else
        fail "dpkg -i / apt-get -f install"
        tail -n 30 "$work/apt.log"
        exit 1
    fi
    user_home=$work/home
    mkdir -p "$user_home"
    as_user=()
fi
sysroot=${root:-}

for package in voldar libnotiko1; do
    check "dpkg reports $package installed" bash -c \
        '"${@:2}" dpkg-query -W -f="\${Status}" "$1" | grep -q "install ok installed"' _ "$package" "${run[@]}"
done
library=$(sed -n 's/^Library=//p' "$sysroot/etc/xdg/notiko/components.ini")
check "the registration names an installed library ($library)" test -f "$sysroot$library"

# --- Start it ----------------------------------------------------------------
display=${VOLDAR_CHECK_DISPLAY:-}
if [ -z "$display" ]; then
    display=63
    while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
fi
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
unset DBUS_SESSION_BUS_ADDRESS
if command -v trayer >/dev/null; then
    trayer --edge top --align left --widthtype request --height 24 --SetDockType false \
        --SetPartialStrut false --transparent false >"$work/trayer.log" 2>&1 &
    pids+=($!)
    have_tray=yes
else
    have_tray=no
fi

# The program reads no environment variable of its own; these are the usual
# ones of a desktop session. The chroot reaches Xvfb through its abstract socket.
started=$(date +%s.%N)
env -i HOME="$user_home" DISPLAY="$DISPLAY" LANG=C.UTF-8 PATH=/usr/bin:/bin \
    "${as_user[@]}" /usr/bin/voldar >"$work/voldar.out" 2>&1 &
pids+=($!)
voldar_pid=$!

splash=
main=
for _ in $(seq 300); do
    [ -z "$splash" ] && splash=$(xdotool search --onlyvisible --classname '^voldar$' 2>/dev/null | head -n 1 || true)
    main=$(xdotool search --onlyvisible --name 'v\.3\.0' 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] && break
    kill -0 "$voldar_pid" 2>/dev/null || break
    sleep 0.1
done
shown=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
check "a window (the splash) appears" test -n "$splash"
if [ -n "$main" ]; then
    pass "the main window appears after $shown s: $(xdotool getwindowname "$main")"
else
    fail "the main window appears (see output below)"
fi

data=$sysroot$user_home/.local/share/voldar/Data
for name in Zvanie.Txt Dolznost.Txt Pravila.Txt; do
    check "the user's Data has $name, as shipped" cmp -s "$data/$name" "$sysroot/usr/share/voldar/Data/$name"
done
check "the user's Data has Lists/" test -d "$data/Lists"

# Give the tray icon a moment to dock, then look for it: a window of the
# program that trayer has taken in.
sleep 2
parent_of() { xwininfo -tree -id "$1" 2>/dev/null | awk '/Parent window id:/ { print $4 }'; }
docked() { # docked <window>: whether one of its ancestors is a trayer window
    local w=$1 tray _
    for _ in 1 2 3 4; do
        w=$(parent_of "$w")
        # The root's parent is 0x0; xwininfo would ask for a click on that.
        [ -n "$w" ] && [ "$((w))" -ne 0 ] || return 1
        for tray in $(xdotool search --class trayer 2>/dev/null); do
            [ "$((w))" -eq "$tray" ] && return 0
        done
    done
    return 1
}
icon=
if [ "$have_tray" = yes ]; then
    for w in $(xdotool search --onlyvisible --classname '^voldar$' 2>/dev/null); do
        if docked "$w"; then icon=$w; fi
    done
fi
if grep -q 'notiko\.host' "$work/voldar.out"; then
    fail "the tray-icon control is found: $(grep 'notiko\.host' "$work/voldar.out" | head -n 1)"
elif [ -n "$icon" ]; then
    pass "the tray icon is docked in the notification area"
else
    echo "INFO  no tray icon docked (no tray host, or the main window creates none)"
fi
check "the program is still running" kill -0 "$voldar_pid" 2>/dev/null
kill "$voldar_pid" 2>/dev/null || true
echo "--- program output ---"
cat "$work/voldar.out"
echo "----------------------"

# --- Remove it ---------------------------------------------------------------
check "dpkg -r voldar" bash -c '"$@" dpkg -r voldar >/dev/null 2>&1' _ "${run[@]}"
check "the program is gone" test ! -e "$sysroot/usr/bin/voldar"
check "the shipped Data is gone" test ! -e "$sysroot/usr/share/voldar"
check "the user's Data stays" test -f "$data/Zvanie.Txt"
check "the notiko library stays for other programs" test -f "$sysroot$library"
check "dpkg -r libnotiko1" bash -c '"$@" dpkg -r libnotiko1 >/dev/null 2>&1' _ "${run[@]}"
check "the notiko library is gone" test ! -e "$sysroot$library"
check "dpkg -P libnotiko1 removes the registration" bash -c \
    '"$@" dpkg -P libnotiko1 >/dev/null 2>&1 && test ! -e "'"$sysroot"'/etc/xdg/notiko/components.ini"' _ "${run[@]}"
check "dpkg -P voldar" bash -c '"$@" dpkg -P voldar >/dev/null 2>&1' _ "${run[@]}"

echo
if [ "$failures" -eq 0 ]; then
    echo "package check: all passed ($mode)"
else
    echo "package check: $failures failed ($mode)"
    exit 1
fi
