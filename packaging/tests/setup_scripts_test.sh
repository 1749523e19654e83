#!/usr/bin/env bash
# Checks the set-up scripts without touching the machine: apt-get, sudo,
# dpkg-query, id and cmake are stand-ins on a private PATH that log their calls.
#   setup_scripts_test.sh packages|run|readme
set -euo pipefail

SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
log=$work/log
mkdir -p "$bin"
for tool in bash env grep cat basename dirname stat nproc; do
    ln -s "$(command -v "$tool")" "$bin/$tool"
done
stand_in() { printf '#!/bin/bash\n%s\n' "$2" >"$bin/$1" && chmod +x "$bin/$1"; }
# INSTALLED: the packages dpkg knows as installed, or * for all of them.
stand_in dpkg-query 'for p; do :; done
case " $INSTALLED " in " * " | *" $p "*) printf "install ok installed" ;; *) exit 1 ;; esac'
stand_in id '[ "$1" = -u ] && echo "$FAKE_UID"'
stand_in apt-get 'echo "uid=$FAKE_UID apt-get $*" >>"$LOG"; exit "$APT_STATUS"'
stand_in cmake 'echo "cmake $*" >>"$LOG"'
stand_in sudo '[ "$1" = -- ] && shift; export FAKE_UID=0; exec "$@"'

failures=0
expect() { # expect <what> <command...>
    if "${@:2}"; then echo "PASS  $1"; else echo "FAIL  $1" && failures=$((failures + 1)); fi
}
logged() { grep -qx -- "$1" "$log"; }
nothing_logged() { ! [ -s "$log" ]; }
# isolated <command...>: on the private PATH; status in $status, errors in $work/err.
isolated() {
    : >"$log"
    status=0
    env -i PATH="$bin" LOG="$log" FAKE_UID="${FAKE_UID:-1000}" INSTALLED="${INSTALLED:-}" \
        APT_STATUS="${APT_STATUS:-0}" SUDO_USER="${AS_SUDO_USER:-}" "$@" >/dev/null 2>"$work/err" ||
        status=$?
}
# with_lib <shell code>: isolated, after sourcing scripts/lib.sh.
with_lib() { isolated bash -c ". '$SOURCE/scripts/lib.sh'; $1"; }

test_packages() {
    local what uid sudo installed apt want_status want
    while IFS='|' read -r what uid sudo installed apt want_status want; do
        [ "$sudo" = yes ] || mv "$bin/sudo" "$work/sudo"
        FAKE_UID=$uid INSTALLED=$installed APT_STATUS=$apt with_lib "ensure_packages a b c"
        [ "$sudo" = yes ] || mv "$work/sudo" "$bin/sudo"
        expect "$what: exits with $want_status" test "$status" -eq "$want_status"
        if [ -n "$want" ]; then expect "$what: $want" logged "$want"; else
            expect "$what: runs nothing" nothing_logged
        fi
    done <<'EOF'
a user with sudo|1000|yes|a|0|0|uid=0 apt-get install -y -qq --no-install-recommends b c
root|0|no|b|0|0|uid=0 apt-get install -y -qq --no-install-recommends a c
nothing missing|1000|yes|*|0|0|
a failed installation|1000|yes|a|100|1|uid=0 apt-get update -qq
a user without sudo|1000|no|a|0|1|
EOF
    expect "... is shown the command to run as root" grep -q 'apt-get install -y b c$' "$work/err"

    mkdir "$work/checkout"
    [ "$(id -u)" -ne 0 ] || chown 65534 "$work/checkout"
    FAKE_UID=0 AS_SUDO_USER=alice with_lib "ROOT='$work/checkout'; refuse_sudo"
    expect "started with sudo in a user's checkout: refused" test "$status" -eq 1
    FAKE_UID=0 with_lib "ROOT='$work/checkout'; refuse_sudo"
    expect "root without sudo (a container): allowed" test "$status" -eq 0
}

test_run() {
    # A copy of the scripts, so that the program they start is a stand-in.
    local tree=$work/tree
    mkdir -p "$tree/scripts" "$tree/build-run/bin"
    cp "$SOURCE/scripts/run" "$SOURCE/scripts/lib.sh" "$tree/scripts/"
    printf '#!/bin/bash\necho "voldar $*" >>"$LOG"\n' >"$tree/build-run/bin/voldar"
    chmod +x "$tree/build-run/bin/voldar"

    isolated bash "$tree/scripts/run" --one
    expect "no graphical session: stops" test "$status" -eq 1
    expect "... saying that one is needed" grep -q 'needs a graphical session' "$work/err"
    expect "... before installing or building anything" nothing_logged

    INSTALLED='*' isolated WAYLAND_DISPLAY=wayland-0 bash "$tree/scripts/run" --one
    expect "a Wayland session: the program starts with its arguments" logged "voldar --one"
    expect "... built without the tests, apart from the tests' build" grep -qE \
        "^cmake -S $tree -B $tree/build-run .*-DVOLDAR_BUILD_TESTS=OFF -DVOLDAR_BUILD_BENCHMARKS=OFF" \
        "$log"
}

# The package lists in the README are those the scripts install.
test_readme() {
    local name listed wanted
    for name in BUILD_PACKAGES TEST_PACKAGES PACKAGING_PACKAGES; do
        # The indented command block after the line that names the list.
        listed=$(awk -v key="\`$name\`" 'index($0, key) { found = 1; next }
            found && /^    / { block = 1; print; next }
            block { exit }' "$SOURCE/README.md" |
            tr -s ' \\' '\n' | grep -vxE 'sudo|apt-get|install|' | sort)
        wanted=$(bash -c ". '$SOURCE/scripts/lib.sh'
            eval \"\$(grep '^PACKAGING_PACKAGES=' '$SOURCE/scripts/package')\"
            printf '%s\n' \"\${$name[@]}\"" | sort)
        expect "README lists $name as the scripts have it" diff <(echo "$wanted") <(echo "$listed")
    done
}

case ${1:-} in
packages) test_packages ;;
run) test_run ;;
readme) test_readme ;;
*) echo "usage: $0 packages|run|readme" >&2 && exit 2 ;;
esac
[ "$failures" -eq 0 ]
