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
#
#   fill_drive_map T 1m 64               # a second one, for the tests that fill it themselves
#
# A drive of 1m with room for only 64 files and directories: a test fills its space (to meet the
# full point on the last file of the copy) or its entries (to meet it while the destination's
# directories are made). Exports E2E_FILL_DRIVE=T:.

SMALL_DRIVE_MOUNT=small-drive
FILL_DRIVE_MOUNT=fill-drive

# _tmpfs_drive_map LETTER MOUNT OPTIONS: mounts a tmpfs at $WINEPREFIX/MOUNT and links LETTER.
_tmpfs_drive_map() {
    local letter=$1 dir
    if [[ -z ${WINEPREFIX:-} || ! -d $WINEPREFIX/dosdevices ]]; then
        echo "small-drive: no prefix to map a drive in" >&2
        return 1
    fi
    dir=$WINEPREFIX/$2
    mkdir -p "$dir" || return 1
    if ! mount -t tmpfs -o "$3,mode=0777" tmpfs "$dir" 2>/dev/null; then
        echo "small-drive: cannot mount a tmpfs (not root?); the disk-full tests will skip" >&2
        rmdir "$dir"
        return 1
    fi
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/${letter,,}:"
}

small_drive_map() {
    local letter=${1:?drive letter} size=${2:-32k}
    _tmpfs_drive_map "$letter" "$SMALL_DRIVE_MOUNT" "size=$size" || return 1
    export E2E_SMALL_DRIVE="${letter^^}:"
    export SETUP_TEST_SMALL_DRIVE="${letter^^}:\\"
}

fill_drive_map() {
    local letter=${1:?drive letter} size=${2:-1m} entries=${3:-64}
    _tmpfs_drive_map "$letter" "$FILL_DRIVE_MOUNT" "size=$size,nr_inodes=$entries" || return 1
    export E2E_FILL_DRIVE="${letter^^}:"
}

# small_drive_unmap PREFIX: unmounts the prefix's small drives if it has them. Safe to call for
# any prefix, also one whose run was killed, and more than once.
small_drive_unmap() {
    local prefix=${1:?prefix} mount dir
    for mount in "$SMALL_DRIVE_MOUNT" "$FILL_DRIVE_MOUNT"; do
        dir=$prefix/$mount
        [[ -d $dir ]] || continue
        if mountpoint -q "$dir"; then
            umount "$dir" || umount -l "$dir" || return 1
        fi
        rmdir "$dir"
    done
}
