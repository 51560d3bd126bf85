#!/usr/bin/env bash
# Runs the end-to-end tests (e2e_tests.exe) under Wine, in a fresh prefix copied from a template
# and on a private Xvfb display, so that several runs can go in parallel. Everything it starts
# is ended by pid or by the prefix's own wineserver on every exit path.
#
# Usage:
#   run-e2e.sh --build-dir DIR --template-only
#   run-e2e.sh --build-dir DIR --tests E2E_TESTS.EXE --medium MEDIUM_DIR
#              [--product SETUP.EXE] [--filter GTEST_FILTER] [--name NAME] [--timeout SECONDS]
#              [--locale LOCALE]
#
# --product names the SETUP.EXE that ships, which the checks of the program file read (default:
# the medium's); its disassembly (objdump -d, made here, as no Linux program can be run from under
# Wine) goes to them as E2E_PRODUCT_DISASSEMBLY. --locale runs the tests and every program they
# start under LOCALE (LANG and LC_ALL), e.g. ja_JP.UTF-8: Wine takes its ANSI code page from it
# (932 for Japanese).
#
# DIR/wine/template    the template prefix, made once and reused
# DIR/wine/run.*       this run's prefix, removed at the end
# DIR/e2e-logs/NAME.*  the test program's output (.log), results (.xml) and Xvfb's log
# DIR/screenshots/     screenshots taken by the tests, as .png
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/wine-env.sh
source "$here/../../scripts/lib/wine-env.sh"

build='' tests='' medium='' product='' filter='*' name=e2e timeout=240 template_only='' locale=''
while (($#)); do
    case $1 in
    --build-dir) build=$2 && shift ;;
    --tests) tests=$2 && shift ;;
    --medium) medium=$2 && shift ;;
    --product) product=$2 && shift ;;
    --filter) filter=$2 && shift ;;
    --name) name=$2 && shift ;;
    --timeout) timeout=$2 && shift ;;
    --locale) locale=$2 && shift ;;
    --template-only) template_only=1 ;;
    *)
        echo "run-e2e: unknown argument $1" >&2
        exit 2
        ;;
    esac
    shift
done
[[ -n $build ]] || {
    echo "run-e2e: --build-dir is required" >&2
    exit 2
}
build=$(realpath -m "$build")

# A host path as the Windows programs see it through drive Z: (the whole Linux file system).
winpath() {
    local p
    p=$(realpath -m "$1")
    printf 'Z:%s\n' "${p//\//\\}"
}

elapsed() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
now_ms() { date +%s%3N; }

t0=$(now_ms)
if [[ -n $template_only ]]; then
    wine_env_defaults
    wine_template_ensure "$build/wine/template"
    exit
fi

[[ -f $tests ]] || {
    echo "run-e2e: no test program '$tests'" >&2
    exit 2
}
[[ -f $medium/SETUP.EXE ]] || {
    echo "run-e2e: no SETUP.EXE in '$medium'" >&2
    exit 2
}

logs=$build/e2e-logs
shots=$build/screenshots
mkdir -p "$logs" "$shots" || exit 1
rm -f "$logs/$name".* "$shots/$name".*.png

wine_run_begin "$build" "$name" "$logs/$name.xvfb.log" || exit 1
raw_shots=$WINEPREFIX/e2e-shots
mkdir -p "$raw_shots" || exit 1
product=${product:-$medium/SETUP.EXE}
disassembly=$WINEPREFIX/product-disassembly.txt
i686-w64-mingw32-objdump -d "$product" >"$disassembly" ||
    echo "run-e2e: cannot disassemble $product" >&2

t3=$(now_ms)
if [[ -n $locale ]]; then
    export LANG=$locale LC_ALL=$locale
fi
# In the background, so that a signal to this script runs the clean-up at once (see
# wine_env_trap) instead of after the tests.
E2E_MEDIUM=$(winpath "$medium") E2E_PRODUCT=$(winpath "$product") \
    E2E_PRODUCT_DISASSEMBLY=$(winpath "$disassembly") E2E_SHOTS=$(winpath "$raw_shots") \
    timeout -k 5 "$timeout" wine "$tests" --gtest_filter="$filter" \
    --gtest_output="xml:$(winpath "$logs/$name.xml")" </dev/null >"$logs/$name.log" 2>&1 &
wine_env_track_pid $!
wait $!
rc=$?
t4=$(now_ms)
cat "$logs/$name.log"
((rc == 124 || rc == 137)) && echo "run-e2e: $name did not finish within $timeout s" >&2

for bmp in "$raw_shots"/*.bmp; do
    [[ -f $bmp ]] || continue
    png=$shots/$(basename "${bmp%.bmp}").png
    convert "$bmp" "$png" 2>>"$logs/$name.log" || echo "run-e2e: cannot convert $bmp" >&2
done

echo "run-e2e: $name: set-up $(elapsed $((t3 - t0))) s, tests $(elapsed $((t4 - t3))) s"
exit "$rc"
