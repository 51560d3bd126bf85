# shellcheck shell=bash
# Installs the build and test tools on a Debian 12 machine. Source this file, then call
# ensure_deps [LOG]. It is a no-op (a few dpkg-query calls) when everything is installed.

DEPS_PACKAGES=(
    g++-mingw-w64-i686
    binutils-mingw-w64-i686
    mingw-w64-i686-dev
    wine
    wine32:i386
    wine64
    xvfb
    imagemagick
    googletest
    cmake
    clang-format
    fonts-dejavu-core
    zip
    unzip
    osslsigncode
    openssl
)

# Where the kernel runs no 32-bit programs, the tests are a 64-bit build (see scripts/test).
DEPS_64BIT_PACKAGES=(
    g++-mingw-w64-x86-64
    binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
)

# Prints the packages of DEPS_PACKAGES that are not installed, one per line.
deps_missing() {
    local pkg status
    for pkg in "${DEPS_PACKAGES[@]}"; do
        status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null) || status=
        [[ $status == "install ok installed" ]] || printf '%s\n' "$pkg"
    done
}

# ensure_deps [LOG]: installs whatever is missing, quietly. apt's output goes to LOG (default
# /tmp/ensure-deps.log); on failure its tail is shown on stderr. Returns non-zero on failure.
ensure_deps() {
    local log=${1:-/tmp/ensure-deps.log}
    local -a missing
    mapfile -t missing < <(deps_missing)
    ((${#missing[@]} == 0)) && return 0

    if ((EUID != 0)); then
        echo "ensure_deps: missing ${missing[*]}; run as root to install them" >&2
        return 1
    fi

    echo "ensure_deps: installing ${missing[*]} (log: $log)" >&2
    : >"$log"
    # wine32 is an i386 package on an amd64 system.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 >>"$log" 2>&1 || {
            tail -n 20 "$log" >&2
            return 1
        }
    fi
    if ! DEBIAN_FRONTEND=noninteractive apt-get -q update >>"$log" 2>&1 ||
        ! DEBIAN_FRONTEND=noninteractive apt-get -q -y -o Dpkg::Use-Pty=0 install \
            "${missing[@]}" >>"$log" 2>&1; then
        echo "ensure_deps: apt-get failed; last lines of $log:" >&2
        tail -n 20 "$log" >&2
        return 1
    fi

    mapfile -t missing < <(deps_missing)
    if ((${#missing[@]} != 0)); then
        echo "ensure_deps: still missing after install: ${missing[*]}" >&2
        return 1
    fi
}
