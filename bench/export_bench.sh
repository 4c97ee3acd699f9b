#!/bin/sh
# Exporting a mailbox against copying it, all as whole processes in one run on the
# same file system: `cp FILE` is the baseline (coreutils copies inside the kernel),
# `cat FILE > OUT` a copy through user space, `ekview-cli list --json` the reading
# and ordering alone, then `ekview-cli export --mbox` and `--eml`. The file is read
# once first, so that every run finds it in the page cache.
# Usage: bench/export_bench.sh MAILBOX [SCRATCH_DIR]
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CLI="$BUILD_DIR/cli/ekview-cli"
mailbox=$1
scratch=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/ekview-export-bench-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { print b - a }'; }

cat "$mailbox" >/dev/null
t=$(now); cp "$mailbox" "$scratch/copy.mbx"; copy=$(since "$t")
rm -f "$scratch/copy.mbx"
t=$(now); cat "$mailbox" >"$scratch/cat.mbx"; cat=$(since "$t")
rm -f "$scratch/cat.mbx"
t=$(now); "$CLI" list --json "$mailbox" >/dev/null; list=$(since "$t")
t=$(now); "$CLI" export --mbox "$scratch/out.mbox" "$mailbox" >/dev/null; mbox=$(since "$t")
rm -f "$scratch/out.mbox"
t=$(now); "$CLI" export --eml "$scratch/eml" "$mailbox" >/dev/null; eml=$(since "$t")
files=$(ls "$scratch/eml" | wc -l)
echo "$copy $cat $list $mbox $eml $files" | awk '{
    printf "%-40s %9s %9s\n", "", "seconds", "x cp"
    printf "%-40s %9.3f %9s\n", "cp FILE OUT (baseline)", $1, "1.00"
    printf "%-40s %9.3f %9.2f\n", "cat FILE > OUT", $2, $2 / $1
    printf "%-40s %9.3f %9.2f\n", "ekview-cli list --json (read, order)", $3, $3 / $1
    printf "%-40s %9.3f %9.2f\n", "ekview-cli export --mbox", $4, $4 / $1
    printf "%-40s %9.3f %9.2f   (%d files)\n", "ekview-cli export --eml", $5, $5 / $1, $6
}'
