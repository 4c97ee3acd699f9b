#!/bin/bash
# Exporting a mailbox against copying it, all as whole processes on the same cached
# file and file system: `cp FILE` is the baseline (coreutils copies inside the
# kernel), `cat FILE > OUT` a copy through user space, `ekview-cli list --json` the
# reading and ordering alone, then `ekview-cli export --mbox`, and with EML=1 also
# `--eml`. The median of RUNS rounds (default 7), the commands taking turns within
# each round so that a change of load touches them all alike. Each output is removed
# and the written data flushed (sync) before the next command, so that no command
# pays for the write-back of the one before. Wall and CPU (user + system) seconds,
# each also as a ratio to cp.
# Usage: bench/export_bench.sh MAILBOX [RUNS]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cli="$BUILD_DIR/cli/ekview-cli"
mailbox=$1
runs=${2:-7}
work=$(mktemp -d "${TMPDIR:-/tmp}/ekview-export-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

set -- "cp FILE OUT (baseline)" "cp $mailbox $work/out" \
    "cat FILE > OUT" "sh -c 'cat \"\$0\" >\"\$1\"' $mailbox $work/out" \
    "ekview-cli list --json (read, order)" "$cli list --json $mailbox" \
    "ekview-cli export --mbox" "$cli export --mbox $work/out $mailbox"
if [ -n "${EML:-}" ]; then
    set -- "$@" "ekview-cli export --eml" "$cli export --eml $work/out $mailbox"
fi
. bench/rounds.sh
cat "$mailbox" >/dev/null
run_rounds "$runs" "$work" "rm -rf \"$work/out\"; sync" "$@"
echo "$(basename "$mailbox")"
print_ratios "$work" "cp" 38 "$@"
echo "($runs rounds; load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores)"
