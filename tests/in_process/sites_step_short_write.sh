#!/bin/sh
# sites_step_short_write.sh <test program> <Wine runner and its arguments...>
# Writes a list of 3000 sites into a fresh folder as sites.txt (the test gives it the list's own
# name), then runs the test program with a file size limit of 20 KB: the step's "Out.txt" is cut
# short as on a full disk.
set -u
program=$1
shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
awk 'BEGIN { for (i = 3000; i > 0; i--) printf "site%d.example\r\n", i }' >"$dir/sites.txt"
# The runner creates its Wine prefix on first use; that must happen without the limit.
"$@" hostname >/dev/null 2>&1
# Writes beyond the limit must fail with an error, not end the process.
trap '' XFSZ
(
  ulimit -f 40
  VELVOX_SHORT_WRITE_DIR=$dir "$@" "$program"
)
