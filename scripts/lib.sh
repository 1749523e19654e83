# Shared by scripts/run and scripts/test: Debian packages, configure, build.
# Sourced, not run.

# Needed to build and run the program.
BUILD_PACKAGES=(
    cmake
    g++
    make
    pkg-config
    qt6-base-dev
    qt6-base-dev-tools
    qt6-charts-dev
    # Qt Charts' CMake package needs Qt OpenGL's, which qt6-charts-dev does not pull in.
    libqt6opengl6-dev
    qt6-qpa-plugins
    libgl-dev
    libx11-dev
    fonts-dejavu-core
    # Qt's own Russian texts: «Да»/«Нет», the file and print dialogs.
    qt6-translations-l10n
    # The native Wayland platform plugin, for a session without an X server.
    qt6-wayland
)

# Needed only by the test suite and the benchmarks.
TEST_PACKAGES=(
    libbenchmark-dev
    xvfb
    xauth
    x11-utils
    x11-xkb-utils
    trayer
    xdotool
    cups
    cups-client
    printer-driver-cups-pdf
    poppler-utils
    dbus-daemon
    dbus-bin
    clang-14
    libclang-rt-14-dev
    # A headless Wayland compositor, with and without XWayland.
    weston
    xwayland
    # A private print system for the print test: its own cupsd and an IPP printer.
    cups-ipp-utils
)

# Installs whichever of the given Debian packages are missing. As root it uses
# apt-get; otherwise it prints the exact command to run and stops.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure_and_build <build-dir> [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$ROOT/$dir" --parallel "$(nproc)"
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
