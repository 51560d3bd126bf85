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
    locales
)

# Locales the tests run Wine under: Wine takes the ANSI code page from the locale, and the
# double-byte destinations need a Japanese system (code page 932).
DEPS_LOCALES=(ja_JP.UTF-8)

# Where the kernel runs no 32-bit programs, the tests are a 64-bit build (scripts/build --x64).
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

# Prints the locales of DEPS_LOCALES that are not generated, one per line. `locale -a` spells
# ja_JP.UTF-8 as ja_JP.utf8.
deps_missing_locales() {
    local loc have
    have=$(locale -a 2>/dev/null)
    for loc in "${DEPS_LOCALES[@]}"; do
        grep -qix -e "$loc" -e "${loc%%.*}.utf8" <<<"$have" || printf '%s\n' "$loc"
    done
}

# ensure_locales [LOG]: generates the locales of DEPS_LOCALES that are missing (a few seconds
# each, once); localedef's output goes to LOG.
ensure_locales() {
    local log=${1:-/tmp/ensure-deps.log} loc
    local -a missing
    mapfile -t missing < <(deps_missing_locales)
    ((${#missing[@]} == 0)) && return 0
    if ((EUID != 0)); then
        echo "ensure_deps: missing the locale ${missing[*]}; run as root to generate it" >&2
        return 1
    fi
    for loc in "${missing[@]}"; do
        echo "ensure_deps: generating the locale $loc (log: $log)" >&2
        localedef -i "${loc%%.*}" -f "${loc#*.}" "$loc" >>"$log" 2>&1 || {
            echo "ensure_deps: localedef failed for $loc; last lines of $log:" >&2
            tail -n 20 "$log" >&2
            return 1
        }
    done
}

# ensure_deps [LOG]: installs whatever is missing, quietly, then generates the missing locales.
# apt's output goes to LOG (default /tmp/ensure-deps.log); on failure its tail is shown on stderr.
# Returns non-zero on failure.
ensure_deps() {
    local log=${1:-/tmp/ensure-deps.log}
    local -a missing
    mapfile -t missing < <(deps_missing)
    if ((${#missing[@]} != 0)); then
        _deps_install "$log" "${missing[@]}" || return 1
    fi
    ensure_locales "$log"
}

# _deps_install LOG PACKAGE...: installs the packages with apt, as root.
_deps_install() {
    local log=$1
    shift
    if ((EUID != 0)); then
        echo "ensure_deps: missing $*; run as root to install them" >&2
        return 1
    fi

    echo "ensure_deps: installing $* (log: $log)" >&2
    : >"$log"
    # wine32 is an i386 package on an amd64 system.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 >>"$log" 2>&1 || {
            tail -n 20 "$log" >&2
            return 1
        }
    fi
    if ! DEBIAN_FRONTEND=noninteractive apt-get -q update >>"$log" 2>&1 ||
        ! DEBIAN_FRONTEND=noninteractive apt-get -q -y -o Dpkg::Use-Pty=0 install "$@" \
            >>"$log" 2>&1; then
        echo "ensure_deps: apt-get failed; last lines of $log:" >&2
        tail -n 20 "$log" >&2
        return 1
    fi

    local -a missing
    mapfile -t missing < <(deps_missing)
    if ((${#missing[@]} != 0)); then
        echo "ensure_deps: still missing after install: ${missing[*]}" >&2
        return 1
    fi
}
