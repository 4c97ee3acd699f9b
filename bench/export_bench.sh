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
cat "$mailbox" >/dev/null
TIMEFORMAT='%3R %3U %3S'

round=0
while [ "$round" -lt "$runs" ]; do
    k=0
    while [ $# -gt $((k * 2)) ]; do
        eval "command=\${$((k * 2 + 2))}"
        rm -rf "$work/out"
        sync
        # bash's own timing reads to the millisecond; /usr/bin/time only to 10 ms,
        # a tenth of cp's time here.
        { eval time "$command" >/dev/null; } 2>>"$work/$k"
        k=$((k + 1))
    done
    round=$((round + 1))
done

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf '%-38s %8s %7s %8s %7s\n' "$(basename "$mailbox")" "wall s" "x cp" "CPU s" "x cp"
k=0
while [ $# -gt $((k * 2)) ]; do
    eval "label=\${$((k * 2 + 1))}"
    wall=$(awk '{ print $1 }' "$work/$k" | median)
    cpu=$(awk '{ print $2 + $3 }' "$work/$k" | median)
    if [ "$k" -eq 0 ]; then
        base_wall=$wall
        base_cpu=$cpu
    fi
    echo "$wall $cpu $base_wall $base_cpu" | awk -v label="$label" '{
        bw = $3 > 0 ? $3 : 0.001; bc = $4 > 0 ? $4 : 0.001
        printf "%-38s %8.3f %7.2f %8.3f %7.2f\n", label, $1, $1 / bw, $2, $2 / bc
    }'
    k=$((k + 1))
done
echo "($runs rounds; load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores)"
