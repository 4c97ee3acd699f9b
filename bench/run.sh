#!/bin/sh
# Runs the benchmarks on generated mailboxes of 10,000, 100,000 and 300,000
# messages (about 40 MB, 380 MB and 1.1 GB). Mailboxes are generated into
# $BENCH_DATA (default bench/data, ignored by git) and kept for the next run.
# Usage: bench/run.sh [COUNT...]
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
BENCH_DATA=${BENCH_DATA:-bench/data}
COUNTS=${*:-10000 100000 300000}
./scripts/build.sh >/dev/null
mkdir -p "$BENCH_DATA"

for count in $COUNTS; do
    mailbox="$BENCH_DATA/gen-$count.mbx"
    if [ ! -f "$mailbox" ]; then
        "$BUILD_DIR/bench/ekview-gen" --seed 1 --messages "$count" --out "$mailbox"
    fi
    echo "== $count messages"
    "$BUILD_DIR/bench/read_bench" "$mailbox"

    # ekview-cli list as a whole process, and the Python peer, against the
    # same baseline: reading the file and counting its line feeds (wc -l).
    base=$( { /usr/bin/time -f "%e %M" wc -l "$mailbox" >/dev/null; } 2>&1 )
    cli=$( { /usr/bin/time -f "%e %M" "$BUILD_DIR/cli/ekview-cli" list --json "$mailbox" >/dev/null; } 2>&1 )
    peer=$(python3 bench/peer_mbox.py "$mailbox")
    echo "$base" "$cli" "$peer" | awk '{
        printf "%-34s %9.3f %9s %12.1f\n", "process: wc -l (baseline)", $1, "1.00", $2 / 1024
        printf "%-34s %9.3f %9.2f %12.1f\n", "process: ekview-cli list --json", $3, $3 / ($1 > 0 ? $1 : 0.001), $4 / 1024
        printf "%-34s %9.3f %9.2f   (%d messages; %.1f x ekview-cli)\n", "python mailbox.mbox Date/From/Subject", $6, $6 / ($1 > 0 ? $1 : 0.001), $5, $6 / ($3 > 0 ? $3 : 0.001)
    }'
    # threads --json and list --json against wc -l: medians of interleaved rounds.
    bench/cli_bench.sh "$mailbox"
    # Export to mbox and .eml against cp of the same file.
    if [ "$count" -le 100000 ]; then
        bench/export_bench.sh "$mailbox"
    fi
    # ekview-cli search for a word in all fields against list --json, both whole
    # processes on the same cached file.
    for word in meeting zebra 神戸; do
        # A search that finds nothing exits with 1, as grep does: still a timing.
        search=$( { /usr/bin/time -f "%e" "$BUILD_DIR/cli/ekview-cli" search "$word" "$mailbox" >/dev/null; } 2>&1 ) || true
        echo "$cli $search" | awk -v word="$word" '{
            printf "%-34s %9.3f %9.2f   (to list --json)\n", "process: ekview-cli search " word, $3, $3 / ($1 > 0 ? $1 : 0.001)
        }'
    done
    # The decoded list against the stored list of the same run (CPU seconds).
    raw=$( { /usr/bin/time -f "%U %S" "$BUILD_DIR/cli/ekview-cli" list --json "$mailbox" >/dev/null; } 2>&1 )
    decoded=$( { /usr/bin/time -f "%U %S" "$BUILD_DIR/cli/ekview-cli" list --decode --json "$mailbox" >/dev/null; } 2>&1 ) || true
    echo "$raw" "$decoded" | awk '{
        r = $1 + $2; d = $3 + $4
        printf "%-34s %9.3f %9s   (CPU s, baseline)\n", "process: ekview-cli list --json", r, "1.00"
        printf "%-34s %9.3f %9.2f   (CPU s)\n", "process: list --decode --json", d, d / (r > 0 ? r : 0.001)
    }'
    # ekview-cli search --decode against list --decode --json, both whole processes
    # (wall seconds) on the same cached file.
    dlist=$( { /usr/bin/time -f "%e" "$BUILD_DIR/cli/ekview-cli" list --decode --json "$mailbox" >/dev/null; } 2>&1 ) || true
    for args in "--in body meeting" "--in body 神戸" "--in subject 神戸" "神戸"; do
        # shellcheck disable=SC2086
        dsearch=$( { /usr/bin/time -f "%e" "$BUILD_DIR/cli/ekview-cli" search --decode $args "$mailbox" >/dev/null; } 2>&1 | tail -n 1 )
        echo "$dlist $dsearch" | awk -v args="$args" '{
            printf "%-34s %9.3f %9.2f   (to list --decode --json, %.3f s)\n", "process: search --decode " args, $2, $2 / ($1 > 0 ? $1 : 0.001), $1
        }'
    done
    # The decoded body by the boundary scan against the MIME parse, every message compared.
    if [ -x "$BUILD_DIR/bench/body_scan_bench" ] && [ "$count" -le 100000 ]; then
        "$BUILD_DIR/bench/body_scan_bench" "$mailbox"
    fi
    # The viewer under a virtual X server: open to list ready, the thread list,
    # and (once) a 20,000-line message shown.
    if [ -x "$BUILD_DIR/bench/gui_open_bench" ] && [ "$count" -le 100000 ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$BUILD_DIR/bench/gui_open_bench" "$mailbox"
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$BUILD_DIR/bench/thread_view_bench" "$mailbox"
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$BUILD_DIR/bench/gui_search_bench" "$mailbox"
    fi
done
if [ -x "$BUILD_DIR/bench/content_bench" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$BUILD_DIR/bench/content_bench" 20000
fi
