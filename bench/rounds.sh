# Sourced by the process benchmarks: commands timed in interleaved rounds, then the
# median of each as wall and CPU (user + system) seconds with their ratios to the
# first command, the baseline.
#   run_rounds RUNS WORK BEFORE LABEL COMMAND [LABEL COMMAND...]
#       times each COMMAND (a shell command line) once per round, in turn, so that a
#       change of load touches them all alike; BEFORE runs, untimed, before each one.
#   print_ratios WORK BASELINE WIDTH LABEL COMMAND [LABEL COMMAND...]
#       one row per command, given as to run_rounds.

run_rounds() {
    rounds_runs=$1
    rounds_work=$2
    rounds_before=$3
    shift 3
    # bash's own timing reads to the millisecond; /usr/bin/time only to 10 ms, a
    # sixth of the baselines' time here.
    TIMEFORMAT='%3R %3U %3S'
    rounds_round=0
    while [ "$rounds_round" -lt "$rounds_runs" ]; do
        rounds_k=0
        while [ $# -gt $((rounds_k * 2)) ]; do
            eval "rounds_command=\${$((rounds_k * 2 + 2))}"
            eval "$rounds_before"
            { eval time "$rounds_command" >/dev/null; } 2>>"$rounds_work/$rounds_k"
            rounds_k=$((rounds_k + 1))
        done
        rounds_round=$((rounds_round + 1))
    done
}

rounds_median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

print_ratios() {
    rounds_work=$1
    rounds_baseline=$2
    rounds_width=$3
    shift 3
    printf "%-${rounds_width}s %8s %8s %8s %8s\n" "" "wall s" "x $rounds_baseline" "CPU s" \
        "x $rounds_baseline"
    rounds_k=0
    while [ $# -gt 0 ]; do
        rounds_label=$1
        shift 2
        rounds_wall=$(awk '{ print $1 }' "$rounds_work/$rounds_k" | rounds_median)
        rounds_cpu=$(awk '{ print $2 + $3 }' "$rounds_work/$rounds_k" | rounds_median)
        if [ "$rounds_k" -eq 0 ]; then
            rounds_base_wall=$rounds_wall
            rounds_base_cpu=$rounds_cpu
        fi
        echo "$rounds_wall $rounds_cpu $rounds_base_wall $rounds_base_cpu" |
            awk -v label="$rounds_label" -v width="$rounds_width" '{
                bw = $3 > 0 ? $3 : 0.001; bc = $4 > 0 ? $4 : 0.001
                printf "%-" width "s %8.3f %8.2f %8.3f %8.2f\n", label, $1, $1 / bw, $2, $2 / bc
            }'
        rounds_k=$((rounds_k + 1))
    done
}
