#!/bin/bash
# ekview-cli as whole processes on one cached mailbox against `wc -l` of the same
# file in the same run: the median of RUNS rounds (default 5), the commands taking
# turns within each round so that a change of load touches them all alike. Prints
# wall seconds and CPU seconds (user + system), each also as a ratio to wc -l.
# OLD_CLI=path times an earlier build beside this one; PEER=1 adds one run of
# Python's mailbox module reading Date, From and Subject (bench/peer_mbox.py).
# Usage: bench/cli_bench.sh MAILBOX [RUNS]
set -eu
cd "$(dirname "$0")/.."

mailbox=$1
runs=${2:-5}
cli=${BUILD_DIR:-build}/cli/ekview-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

set -- "wc -l" "wc -l $mailbox" \
    "threads --json" "$cli threads --json $mailbox" \
    "list --json" "$cli list --json $mailbox"
if [ -n "${OLD_CLI:-}" ]; then
    set -- "$@" "old threads --json" "$OLD_CLI threads --json $mailbox" \
        "old list --json" "$OLD_CLI list --json $mailbox"
fi
cat "$mailbox" >/dev/null
TIMEFORMAT='%3R %3U %3S'

round=0
while [ "$round" -lt "$runs" ]; do
    k=0
    while [ $# -gt $((k * 2)) ]; do
        eval "command=\${$((k * 2 + 2))}"
        # bash's own timing reads to the millisecond; /usr/bin/time only to 10 ms,
        # a sixth of wc -l's time here.
        # shellcheck disable=SC2086  # the command is split into its words on purpose
        { time $command >/dev/null; } 2>>"$work/$k"
        k=$((k + 1))
    done
    round=$((round + 1))
done

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf '%-22s %9s %9s %9s %9s\n' "$(basename "$mailbox")" "wall s" "x wc -l" "CPU s" "x wc -l"
k=0
base_wall=0
base_cpu=0
while [ $# -gt $((k * 2)) ]; do
    eval "label=\${$((k * 2 + 1))}"
    wall=$(awk '{ print $1 }' "$work/$k" | median)
    cpu=$(awk '{ print $2 + $3 }' "$work/$k" | median)
    if [ "$k" -eq 0 ]; then
        base_wall=$wall
        base_cpu=$cpu
    fi
    echo "$label $wall $cpu $base_wall $base_cpu" | awk '{
        n = NF; label = $1; for (i = 2; i <= n - 4; ++i) label = label " " $i
        wall = $(n - 3); cpu = $(n - 2); bw = $(n - 1) > 0 ? $(n - 1) : 0.001; bc = $n > 0 ? $n : 0.001
        printf "%-22s %9.3f %9.1f %9.3f %9.1f\n", label, wall, wall / bw, cpu, cpu / bc
    }'
    k=$((k + 1))
done
if [ -n "${PEER:-}" ]; then
    python3 bench/peer_mbox.py "$mailbox" | awk '{ printf "%-22s %9.3f   (%d messages)\n", "python mailbox", $2, $1 }'
fi
echo "($runs rounds; load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores)"
