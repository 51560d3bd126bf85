#!/usr/bin/env bash
# Checks of the medium as the maker ships it. Each works in a folder of its own below the build
# folder and removes it at the end.
#
#   medium-check.sh reproducible --source-dir SRC --build-dir DIR
#       builds the medium again from a copy of SRC in another folder and compares every file of
#       it, the archive and SHA256SUMS with DIR's
#   medium-check.sh archive --build-dir DIR --tests E2E_TESTS.EXE [--runnable SETUP.EXE]
#       checks DIR/SHA256SUMS and the archive's listing, unpacks it and installs from there
#   medium-check.sh signed --build-dir DIR --tests E2E_TESTS.EXE --setup SETUP.EXE
#                  [--runnable SETUP.EXE]
#       signs SETUP.EXE with a throw-away certificate, verifies the signature and installs from
#       a medium with the signed program
#
# --runnable names the SETUP.EXE of the test build. Where the tests run a 64-bit build (see
# scripts/test), the shipped 32-bit SETUP.EXE cannot run, and that one takes its place for the
# install, beside the shipped product files; the shipped one is still the one checked.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
release=$here/../../scripts/lib/medium-release

mode=${1:-}
shift || true
source_dir='' build='' tests='' setup='' runnable=''
while (($#)); do
    case $1 in
    --source-dir) source_dir=$2 && shift ;;
    --build-dir) build=$2 && shift ;;
    --tests) tests=$2 && shift ;;
    --setup) setup=$2 && shift ;;
    --runnable) runnable=$2 && shift ;;
    *)
        echo "medium-check: unknown argument $1" >&2
        exit 2
        ;;
    esac
    shift
done
[[ -n $build ]] || {
    echo "medium-check: --build-dir is required" >&2
    exit 2
}
build=$(realpath "$build")
archive=ZEL-1.1B3-medium.zip
# SETUP.EXE, then the product files in the order SETUP installs them.
medium_files=(SETUP.EXE ZEL.EXE README.TXT ZEL.HLP MFC30.DLL MFCN30.DLL MSVCRT20.DLL
    QUIRN.FON QUIRNW.FON QUIRNDT.FON QUIRNDB.FON)

work=$build/medium-check.$mode
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "medium-check: $*" >&2
    exit 1
}

# install_from MEDIUM NAME FILTER [PRODUCT]: the end-to-end tests of FILTER, with MEDIUM as the
# medium and PRODUCT as the SETUP.EXE whose file is checked (default: the medium's).
install_from() {
    bash "$here/../e2e/run-e2e.sh" --build-dir "$build" --tests "$tests" --medium "$1" \
        --product "${4:-$1/SETUP.EXE}" --name "$2" --filter "$3" --timeout 120 ||
        fail "the install from $1 failed"
}

# Whether the test build's SETUP.EXE is another program than the shipped one, unsigned.
runs_another() {
    [[ -n $runnable ]] && ! cmp -s "$runnable" "$build/app/SETUP.EXE"
}

# The end-to-end test that installs by the default path: Continue, OK, the copy, Skip, OK.
readonly DEFAULT_INSTALL=Copy.DefaultInstallCopiesTheTenFiles

reproducible() {
    [[ -n $source_dir ]] || fail "--source-dir is required"
    local copy=$work/source start=$SECONDS
    SOURCE_DATE_EPOCH=$("$release" epoch)
    export SOURCE_DATE_EPOCH
    mkdir "$copy"
    tar -C "$source_dir" --exclude=./build --exclude='./build-*' --exclude=./.git -cf - . |
        tar -C "$copy" -xf -
    (
        cd "$copy"
        cmake --preset mingw >"$work/configure.log" 2>&1 &&
            cmake --build --preset mingw --target medium_archive -j"$(nproc)" \
                >"$work/build.log" 2>&1
    ) || {
        tail -n 30 "$work/configure.log" "$work/build.log" >&2
        fail "the second build failed"
    }
    local first=$build second=$copy/build dir
    for dir in "$first" "$second"; do
        (cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "$dir/SHA256SUMS does not hold"
        [[ $(ls "$dir/medium" | sort) == $(printf '%s\n' "${medium_files[@]}" | sort) ]] ||
            fail "$dir/medium holds other files than the medium's: $(ls "$dir/medium")"
    done
    diff "$first/SHA256SUMS" "$second/SHA256SUMS" ||
        fail "the build in $second differs from the one in $first"
    echo "medium-check: the build in $first and the one made now in $second" \
        "($((SECONDS - start)) s) gave the same files:"
    cat "$first/SHA256SUMS"
}

archive() {
    [[ -f $build/$archive ]] || fail "no $build/$archive"
    (cd "$build" && sha256sum -c SHA256SUMS) || fail "$build/SHA256SUMS does not hold"
    [[ $(zipinfo -1 "$build/$archive") == $(printf '%s\n' "${medium_files[@]}") ]] ||
        fail "the archive lists $(zipinfo -1 "$build/$archive" | tr '\n' ' ')"
    local unpacked=$work/medium name
    unzip -q "$build/$archive" -d "$unpacked"
    for name in "${medium_files[@]}"; do
        cmp "$unpacked/$name" "$build/medium/$name" || fail "$name in the archive differs"
    done
    if runs_another; then
        echo "medium-check: installing the archive's product files with the test build's SETUP.EXE"
        cp "$runnable" "$unpacked/SETUP.EXE"
    fi
    install_from "$unpacked" UnpackedArchive "$DEFAULT_INSTALL"
}

# The digest that SETUP.EXE's signature holds and the one of the file as it is.
digest_line() {
    sed -n "s/^$1 *: *\([0-9A-F]*\).*/\1/p" "$2" | head -n 1
}

signed() {
    [[ -f $setup ]] || fail "no SETUP.EXE to sign: '$setup'"
    local pfx=$work/signer.pfx cert=$work/signer.pem medium=$work/medium log=$work/verify.log
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=ZEL test signer" \
        -keyout "$work/signer.key" -out "$cert" 2>"$work/openssl.log"
    openssl pkcs12 -export -inkey "$work/signer.key" -in "$cert" -out "$pfx" \
        -passout pass:test-password 2>>"$work/openssl.log"

    mkdir "$medium"
    cp "$build/medium/"* "$medium/"
    SIGN_PKCS12=$pfx SIGN_PASSWORD=test-password "$release" sign "$setup" "$medium/SETUP.EXE"
    SIGN_PKCS12=$pfx SIGN_PASSWORD=test-password "$release" sign "$setup" "$work/again.exe"
    cmp "$medium/SETUP.EXE" "$work/again.exe" || fail "signing twice gave different files"

    # Nobody trusts a self-signed chain, but the digest it signs must be the file's own.
    local rc=0 current calculated
    osslsigncode verify -in "$medium/SETUP.EXE" >"$log" 2>&1 || rc=$?
    cat "$log"
    ((rc != 0)) || fail "a self-signed chain was accepted"
    grep -q 'self.signed certificate' "$log" || fail "the chain was refused for another reason"
    current=$(digest_line 'Current message digest' "$log")
    calculated=$(digest_line 'Calculated message digest' "$log")
    [[ ${#current} -eq 64 && $current == "$calculated" ]] ||
        fail "the signed SHA-256 digest '$current' is not the file's '$calculated'"
    grep -q 'Text description: ZEL 1.1B3 Setup' "$log" || fail "the signature has no description"

    # With the signer's certificate trusted, the signature itself holds.
    osslsigncode verify -CAfile "$cert" -in "$medium/SETUP.EXE" >"$log" 2>&1 || {
        cat "$log"
        fail "the signature does not verify against its own certificate"
    }
    grep -q 'Signature verification: ok' "$log" || fail "no 'Signature verification: ok'"

    # One byte changed in the program: the digests part.
    cp "$medium/SETUP.EXE" "$work/tampered.exe"
    printf '\xcc' | dd of="$work/tampered.exe" bs=1 seek=4096 conv=notrunc status=none
    osslsigncode verify -in "$work/tampered.exe" >"$log" 2>&1 || true
    [[ $(digest_line 'Current message digest' "$log") != \
        "$(digest_line 'Calculated message digest' "$log")" ]] ||
        fail "a changed program still matches its signature"

    local product=$medium/SETUP.EXE
    if runs_another; then
        echo "medium-check: installing with the test build's SETUP.EXE, signed alike"
        product=$work/SETUP.EXE
        cp "$medium/SETUP.EXE" "$product"
        SIGN_PKCS12=$pfx SIGN_PASSWORD=test-password "$release" sign "$runnable" \
            "$medium/SETUP.EXE"
    fi
    install_from "$medium" SignedMedium "$DEFAULT_INSTALL:ProgramFile.*" "$product"
}

case $mode in
reproducible | archive | signed)
    [[ $mode == reproducible || -f $tests ]] || fail "no test program '$tests'"
    "$mode"
    ;;
*)
    echo "usage: medium-check.sh reproducible|archive|signed --build-dir DIR ..." >&2
    exit 2
    ;;
esac
