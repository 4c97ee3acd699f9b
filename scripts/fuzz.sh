#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour
# sanitizers) and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     SECONDS per target, default 30
# Seeds come from tests/corpus/<target>/; what a run finds is kept in
# $FUZZ_BUILD_DIR/corpus/<target>/, a crashing input in $FUZZ_BUILD_DIR/artifacts/.
set -eu
cd "$(dirname "$0")/.."

SECONDS_EACH=${1:-30}
[ $# -gt 0 ] && shift
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}

./scripts/install-deps.sh
export EKVIEW_DEPS_CHECKED=1
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DEKVIEW_BUILD_FUZZERS=ON -DEKVIEW_BUILD_GUI=OFF -DEKVIEW_BUILD_TESTS=OFF \
        -DEKVIEW_BUILD_BENCH=OFF -DEKVIEW_WERROR=ON >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target ekview_fuzzers

if [ $# -eq 0 ]; then
    set -- $(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

passed=0
failed=0
for target in "$@"; do
    mkdir -p "$BUILD_DIR/corpus/$target" "$BUILD_DIR/artifacts"
    seeds="tests/corpus/$target"
    [ -d "$seeds" ] || seeds=""
    echo "== $target: $SECONDS_EACH s"
    # New inputs go to the first folder, so the seeds in the tree stay as they are.
    if "$BUILD_DIR/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$BUILD_DIR/artifacts/$target-" \
        "$BUILD_DIR/corpus/$target" $seeds >"$BUILD_DIR/$target.log" 2>&1; then
        passed=$((passed + 1))
        grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' \
            "$BUILD_DIR/$target.log" | sed 's/^/   /' || true
    else
        failed=$((failed + 1))
        tail -n 60 "$BUILD_DIR/$target.log"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
