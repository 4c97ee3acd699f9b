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
. bench/rounds.sh
cat "$mailbox" >/dev/null
run_rounds "$runs" "$work" "" "$@"
echo "$(basename "$mailbox")"
print_ratios "$work" "wc -l" 22 "$@"
if [ -n "${PEER:-}" ]; then
    python3 bench/peer_mbox.py "$mailbox" | awk '{ printf "%-22s %9.3f   (%d messages)\n", "python mailbox", $2, $1 }'
fi
echo "($runs rounds; load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores)"
