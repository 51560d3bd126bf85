# shellcheck shell=bash
# Private Wine prefixes, X displays and small drives for tests. Source this file from bash.
#
# Every function names its prefix explicitly and refuses to work without one, so nothing here
# ever falls back to ~/.wine. Every Wine run of the project (the unit tests, each end-to-end
# suite, the demo, the benchmark) begins with one call:
#
#   wine_run_begin BUILD NAME XVFB_LOG   # prefix BUILD/wine/run.NAME.$$ from the template, the
#                                        # small drives S: and T:, Xvfb, a persistent wineserver,
#                                        # clean-up on every exit path
#   wine ...                             # WINEPREFIX and DISPLAY are exported
#
# Processes are only ever ended by the ids recorded here: the prefix's own wineserver
# (`wineserver -k` ends exactly that prefix's Windows processes) and the Xvfb pid.
#
# Which build runs here is decided by wine_runs_32bit alone: the 32-bit one that ships (preset
# mingw, build/), or where the kernel runs no 32-bit programs the 64-bit build of the same
# sources (preset mingw64, build/x64) under Wine's 64-bit loader; see wine_build_preset.

# Marker written into a template once it is fully built; a template without it is rebuilt.
WINE_ENV_TEMPLATE_MARK=.template-complete
# Written into each run prefix: the pid of the shell that owns it, and of its Xvfb.
WINE_ENV_OWNER_FILE=.owner-pid
WINE_ENV_XVFB_FILE=.xvfb-pid

WINE_ENV_PREFIX=
XVFB_PID=
WINE_ENV_PIDS=()

# wine_build_preset: the CMake preset whose programs run here, mingw or mingw64.
wine_build_preset() {
    if wine_runs_32bit; then echo mingw; else echo mingw64; fi
}

# wine_build_dir ROOT: that preset's build tree.
wine_build_dir() {
    if wine_runs_32bit; then echo "${1:?root}/build"; else echo "$1/build/x64"; fi
}

wine_env_defaults() {
    export WINEDEBUG=-all
    # Without these, Wine offers to download and install Mono and Gecko.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if wine_runs_32bit; then
        export WINEARCH=win32
    else
        # The kernel runs no 32-bit programs, so neither does Wine's 32-bit loader: the tests
        # run a 64-bit build of the same sources with the 64-bit loader (wine_build_preset).
        # Debian's `wine` and `wine-stable` take the 32-bit loader whenever it is installed;
        # the ones in lib/wine64 take the 64-bit one.
        export WINEARCH=win64 WINELOADER=$WINE_ENV_WINE64
        [[ :$PATH: == *":$WINE_ENV_LIB/wine64:"* ]] || export PATH=$WINE_ENV_LIB/wine64:$PATH
    fi
}

WINE_ENV_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINE_ENV_WINE32=/usr/lib/wine/wine
WINE_ENV_WINE64=/usr/lib/wine/wine64

# wine_runs_32bit: whether this machine runs Wine's 32-bit loader, a 32-bit Linux program: not
# where the kernel lacks IA-32 emulation ("Exec format error"). True when Wine is not installed
# yet, which is the usual case.
wine_runs_32bit() {
    [[ ! -x $WINE_ENV_WINE32 ]] || "$WINE_ENV_WINE32" --version >/dev/null 2>&1
}

# Refuses an empty prefix or the user's own one.
_wine_env_check_prefix() {
    local p=$1
    if [[ -z $p || $p == "$HOME/.wine" || $p == "$HOME/.wine/" ]]; then
        echo "wine-env: refusing prefix '$p'" >&2
        return 1
    fi
}

_wine_env_abs() {
    realpath -m -- "$1"
}

# wine_template_ensure DIR: makes a template prefix (of WINEARCH) in DIR unless a complete one is
# there. Safe to call from several test runs at once: one builds, the others wait for it.
# Prints how long the build took; the log of the build is DIR.log.
wine_template_ensure() {
    local dir
    dir=$(_wine_env_abs "${1:?template directory}") || return 1
    _wine_env_check_prefix "$dir" || return 1
    [[ -f $dir/$WINE_ENV_TEMPLATE_MARK ]] && return 0
    mkdir -p "$(dirname "$dir")" || return 1
    (
        flock 9 || exit 1
        [[ -f $dir/$WINE_ENV_TEMPLATE_MARK ]] && exit 0
        _wine_template_build "$dir"
    ) 9>"$dir.lock"
}

_wine_template_build() {
    local dir=$1 log=$1.log tmp=$1.partial start=$SECONDS
    rm -rf "$tmp" "$dir"
    : >"$log"
    echo "wine-env: making template prefix $dir" >&2
    # A subshell, so that these settings stay out of the caller's environment.
    # shellcheck disable=SC2030
    (
        export WINEPREFIX=$tmp WINEDEBUG=-all
        # The environment form of the winemenubuilder override holds only for the first Wine
        # process of a prefix; wineboot is that process. The registry setting below makes it
        # permanent for every prefix copied from this one.
        export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
        unset DISPLAY
        wineboot -i &&
            # Without a window manager, every hide or destroy of a captioned window under a
            # managed X11 driver costs a flat 2 s.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
            wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f &&
            wineserver -w
    ) </dev/null >>"$log" 2>&1 || {
        echo "wine-env: template build failed; see $log" >&2
        tail -n 20 "$log" >&2
        rm -rf "$tmp"
        return 1
    }
    if ! [[ -d $tmp/drive_c/windows/system32 ]] ||
        ! grep -q '^"Managed"="N"' "$tmp/user.reg" ||
        ! grep -q '^"winemenubuilder.exe"=""' "$tmp/user.reg"; then
        echo "wine-env: template $tmp is incomplete; see $log" >&2
        rm -rf "$tmp"
        return 1
    fi
    mv "$tmp" "$dir" && touch "$dir/$WINE_ENV_TEMPLATE_MARK" || return 1
    echo "wine-env: template made in $((SECONDS - start)) s" >&2
}

# wine_prefix_fresh TEMPLATE DEST: copies the template to DEST (which must not exist), records
# this shell as its owner and exports WINEPREFIX=DEST. Also remembered for wine_env_cleanup.
wine_prefix_fresh() {
    local template dest
    template=$(_wine_env_abs "${1:?template}") || return 1
    dest=$(_wine_env_abs "${2:?destination}") || return 1
    _wine_env_check_prefix "$dest" || return 1
    [[ -f $template/$WINE_ENV_TEMPLATE_MARK ]] || {
        echo "wine-env: $template is not a complete template" >&2
        return 1
    }
    [[ -e $dest ]] && {
        echo "wine-env: $dest already exists" >&2
        return 1
    }
    WINE_ENV_PREFIX=$dest
    # The owner is recorded before the copy, so that wine_sweep_stale also finds a copy that
    # was cut short.
    mkdir "$dest" && echo $$ >"$dest/$WINE_ENV_OWNER_FILE" || return 1
    cp -a "$template/." "$dest/" || return 1
    rm -f "$dest/$WINE_ENV_TEMPLATE_MARK"
    # shellcheck disable=SC2031
    export WINEPREFIX=$dest
}

# xvfb_start [LOG]: starts a private Xvfb on a free display, exports DISPLAY and sets XVFB_PID.
xvfb_start() {
    local log=${1:-/dev/null} fdfile num=
    fdfile=$(mktemp) || return 1
    # Xvfb picks a free display itself and writes its number to fd 3 once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" </dev/null >"$log" 2>&1 &
    XVFB_PID=$!
    [[ -n $WINE_ENV_PREFIX && -d $WINE_ENV_PREFIX ]] &&
        echo "$XVFB_PID" >"$WINE_ENV_PREFIX/$WINE_ENV_XVFB_FILE"
    local i
    for ((i = 0; i < 200; i++)); do
        if [[ $(wc -l <"$fdfile") -ge 1 ]]; then
            num=$(head -n 1 "$fdfile")
            break
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fdfile"
    if ! [[ $num =~ ^[0-9]+$ ]]; then
        echo "wine-env: Xvfb did not start; see $log" >&2
        return 1
    fi
    export DISPLAY=:$num
}

# wine_env_track_pid PID: a process of this run (e.g. a background `wine` launcher) that
# wine_env_cleanup ends first.
wine_env_track_pid() {
    WINE_ENV_PIDS+=("$1")
}

# wine_env_cleanup: ends this run's tracked processes, its Windows processes, its wineserver and
# its Xvfb, and removes its prefix. Keeps the exit status it was called with, so it can serve as
# an EXIT trap.
wine_env_cleanup() {
    local rc=$? pid
    for pid in "${WINE_ENV_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    WINE_ENV_PIDS=()
    if [[ -n $WINE_ENV_PREFIX ]]; then
        _wine_prefix_remove "$WINE_ENV_PREFIX"
        WINE_ENV_PREFIX=
    fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
    return "$rc"
}

_wine_prefix_remove() {
    local p=$1
    _wine_env_check_prefix "$p" || return 1
    [[ -d $p ]] || return 0
    # With no server running (it ends five seconds after its last program), `wineserver -k`
    # does nothing and fails; it never starts one. Neither failure may end a caller under set -e
    # in the middle of its clean-up.
    WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$p timeout 10 wineserver -w >/dev/null 2>&1 || true
    [[ -f $p/$WINE_ENV_OWNER_FILE ]] || return 0
    # A test may have mounted a file system inside the prefix (the small drive of the disk-full
    # tests); it is unmounted first, and rm never crosses into one that is still mounted.
    local m
    for m in "$p"/*/; do
        mountpoint -q "$m" && { umount "$m" 2>/dev/null || umount -l "$m"; }
    done
    # Only a prefix made by wine_prefix_fresh is removed, never some other directory.
    rm -rf --one-file-system "$p"
}

# wine_env_trap: runs wine_env_cleanup on every exit of the calling shell, signals included.
# Bash runs a trap only after the foreground command ends, so a caller that must react to a
# signal at once runs long commands in the background and waits for them with `wait`.
wine_env_trap() {
    trap wine_env_cleanup EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# wine_sweep_stale DIR: removes run prefixes under DIR left by runs that were killed before
# their cleanup ran (their owner pid is gone), with their wineserver and Xvfb.
wine_sweep_stale() {
    local dir=${1:?directory} p owner xvfb
    for p in "$dir"/run.*; do
        [[ -f $p/$WINE_ENV_OWNER_FILE ]] || continue
        owner=$(<"$p/$WINE_ENV_OWNER_FILE")
        kill -0 "$owner" 2>/dev/null && continue
        if [[ -f $p/$WINE_ENV_XVFB_FILE ]]; then
            xvfb=$(<"$p/$WINE_ENV_XVFB_FILE")
            [[ $(cat "/proc/$xvfb/comm" 2>/dev/null) == Xvfb ]] && kill "$xvfb" 2>/dev/null
        fi
        echo "wine-env: removing stale prefix $p" >&2
        _wine_prefix_remove "$p"
    done
}

# The small drives of the disk-full tests: tmpfs mounts of a few pages below the run's prefix,
# linked there as drive letters. S: (32 KiB, smaller than ZEL.EXE, the first file copied) is
# exported as E2E_SMALL_DRIVE=S:; T: (1 MiB with room for only 64 files and directories, which a
# test fills itself to the chosen point) as E2E_FILL_DRIVE=T:.
# Mounting needs root; without it the drives are not mapped, and the tests that need them skip
# with a message. _wine_prefix_remove unmounts them.
_wine_tmpfs_drive() {
    local letter=$1 dir=$WINEPREFIX/$2
    mkdir -p "$dir" || return 1
    if ! mount -t tmpfs -o "$3,mode=0777" tmpfs "$dir" 2>/dev/null; then
        echo "wine-env: cannot mount a tmpfs (not root?); the disk-full tests will skip" >&2
        rmdir "$dir"
        return 1
    fi
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/${letter,,}:"
}

_wine_small_drives() {
    _wine_tmpfs_drive S small-drive size=32k && export E2E_SMALL_DRIVE=S:
    _wine_tmpfs_drive T fill-drive size=1m,nr_inodes=64 && export E2E_FILL_DRIVE=T:
    return 0
}

# wine_run_begin BUILD NAME XVFB_LOG: the beginning of every Wine run. Sets the defaults, removes
# the stale prefixes of killed runs, makes the template BUILD/wine/template if needed, sets the
# clean-up trap, makes the prefix BUILD/wine/run.NAME.$$ with its small drives, starts Xvfb and a
# wineserver. The wineserver is started ahead of the first Wine program, so that it inherits (and
# holds open) none of the caller's files, and persistent, so that each of many short programs
# starts in milliseconds; its clean-up ends it, and should that not run it outlives its last
# program by five seconds only.
wine_run_begin() {
    local build=${1:?build directory} name=${2:?run name} log=${3:-/dev/null}
    wine_env_defaults
    mkdir -p "$build/wine" || return 1
    wine_sweep_stale "$build/wine"
    wine_template_ensure "$build/wine/template" || return 1
    wine_env_trap
    wine_prefix_fresh "$build/wine/template" "$build/wine/run.$name.$$" || return 1
    _wine_small_drives
    xvfb_start "$log" || return 1
    wineserver -p5 </dev/null >/dev/null 2>&1
}
