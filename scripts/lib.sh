# Shared by the scripts: Debian packages, configure, build.
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
# apt-get; as anyone else it runs the same through sudo, which asks for the
# password. The scripts are therefore never started with sudo themselves: the
# build folders and the Data folder they make must belong to the user.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing Debian packages, and there is no sudo here. As root, run:" >&2
            echo "  apt-get install -y ${missing[*]}" >&2
            exit 1
        fi
        as_root=(sudo --)
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
        ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
        echo "Could not install ${missing[*]}; install them and start again." >&2
        exit 1
    fi
}

# Stops a script started through sudo in a user's checkout: the folders it
# makes would belong to root, and a later run as the user could not write
# there. Root's own checkout (or a container running as root) is fine.
refuse_sudo() {
    if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$(stat -c %u "$ROOT")" -ne 0 ]; then
        echo "Start $(basename "$0") as $SUDO_USER, without sudo: it asks for the" \
            "password itself when Debian packages are missing." >&2
        exit 1
    fi
}

# CMake options for Debian's hardening: fortified functions, stack protector,
# full RELRO with immediate binding. The flags come from dpkg-buildflags, as a
# Debian build would take them; executables are position-independent because
# Debian's compiler makes them so by default (and Qt asks for -fPIC).
hardening_options() {
    local get=(env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get)
    local cppflags cxxflags ldflags
    cppflags=$(cd "$ROOT" && "${get[@]}" CPPFLAGS)
    cxxflags=$(cd "$ROOT" && "${get[@]}" CXXFLAGS)
    ldflags=$(cd "$ROOT" && "${get[@]}" LDFLAGS)
    printf '%s\n' "-DCMAKE_CXX_FLAGS=$cppflags $cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
        "-DCMAKE_SHARED_LINKER_FLAGS=$ldflags" "-DCMAKE_MODULE_LINKER_FLAGS=$ldflags"
}

# configure_and_build <build-dir> [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$ROOT/$dir" --parallel "$(nproc)"
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
