# shellcheck shell=bash
# A small drive for the disk-full tests of the file installation: a tmpfs of a few pages,
# mounted below a run's Wine prefix and linked there as a drive letter. Source this file after
# scripts/lib/wine-env.sh, whose prefix removal unmounts it too.
#
#   wine_prefix_fresh TEMPLATE DEST      # exports WINEPREFIX
#   small_drive_map S 32k                # mounts, links S:, exports the variables below
#   ...run the tests...
#   small_drive_unmap "$WINEPREFIX"      # before the prefix is removed (also from a trap)
#
# Exports E2E_SMALL_DRIVE=S: (end-to-end tests) and SETUP_TEST_SMALL_DRIVE=S:\ (unit tests); a
# test that finds neither skips itself with a message. 32k is smaller than ZEL.EXE, the first
# file copied, so its copy meets the full point. Mounting needs root; without it the drive is
# simply not mapped.

SMALL_DRIVE_MOUNT=small-drive

small_drive_map() {
    local letter=${1:?drive letter} size=${2:-32k} dir
    if [[ -z ${WINEPREFIX:-} || ! -d $WINEPREFIX/dosdevices ]]; then
        echo "small-drive: no prefix to map a drive in" >&2
        return 1
    fi
    dir=$WINEPREFIX/$SMALL_DRIVE_MOUNT
    mkdir -p "$dir" || return 1
    if ! mount -t tmpfs -o "size=$size,mode=0777" tmpfs "$dir" 2>/dev/null; then
        echo "small-drive: cannot mount a tmpfs (not root?); the disk-full tests will skip" >&2
        rmdir "$dir"
        return 1
    fi
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/${letter,,}:" || return 1
    export E2E_SMALL_DRIVE="${letter^^}:"
    export SETUP_TEST_SMALL_DRIVE="${letter^^}:\\"
}

# small_drive_unmap PREFIX: unmounts the prefix's small drive if it has one. Safe to call for any
# prefix, also one whose run was killed, and more than once.
small_drive_unmap() {
    local dir=${1:?prefix}/$SMALL_DRIVE_MOUNT
    [[ -d $dir ]] || return 0
    if mountpoint -q "$dir"; then
        umount "$dir" || umount -l "$dir" || return 1
    fi
    rmdir "$dir"
}
