#!/bin/sh
# Exporting a mailbox against copying it, all as whole processes in one run on the
# same file system: `cp FILE` is the baseline (coreutils copies inside the kernel),
# `cat FILE > OUT` a copy through user space, `ekview-cli list --json` the reading
# and ordering alone, then `ekview-cli export --mbox` and `--eml`; the write is the
# export less the reading. Wall and CPU (user + system) seconds. The file is read
# once first, so that every run finds it in the page cache.
# Usage: bench/export_bench.sh MAILBOX [SCRATCH_DIR]
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CLI="$BUILD_DIR/cli/ekview-cli"
mailbox=$1
scratch=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/ekview-export-bench-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# "wall cpu" of a command whose output goes to the file $1.
timed() {
    out=$1
    shift
    { /usr/bin/time -f "%e %U %S" "$@" >"$out"; } 2>&1 | awk '{ print $1, $2 + $3 }'
}

cat "$mailbox" >/dev/null
copy=$(timed /dev/null cp "$mailbox" "$scratch/copy.mbx")
rm -f "$scratch/copy.mbx"
cat=$(timed "$scratch/cat.mbx" cat "$mailbox")
rm -f "$scratch/cat.mbx"
list=$(timed /dev/null "$CLI" list --json "$mailbox")
mbox=$(timed /dev/null "$CLI" export --mbox "$scratch/out.mbox" "$mailbox")
rm -f "$scratch/out.mbox"
eml=$(timed /dev/null "$CLI" export --eml "$scratch/eml" "$mailbox")
files=$(ls "$scratch/eml" | wc -l)
echo "$copy $cat $list $mbox $eml $files" | awk '
function row(name, w, c, extra) {
    printf "%-40s %8.3f %7.2f %8.3f %7.2f%s\n", name, w, w / cw, c, c / cc, extra
}
{
    cw = $1 > 0 ? $1 : 0.001; cc = $2 > 0 ? $2 : 0.001
    printf "%-40s %8s %7s %8s %7s\n", "", "wall s", "x cp", "CPU s", "x cp"
    row("cp FILE OUT (baseline)", $1, $2, "")
    row("cat FILE > OUT", $3, $4, "")
    row("ekview-cli list --json (read, order)", $5, $6, "")
    row("ekview-cli export --mbox", $7, $8, "")
    row("  its write (export less list)", $7 - $5, $8 - $6, "")
    row("ekview-cli export --eml", $9, $10, sprintf("   (%d files)", $11))
}'
