#!/bin/sh
# Every benchmark program's run with no options ends in well under a minute. The library ends a
# benchmark within a few times its minimum time of wall time, unless the benchmark times its
# iterations itself (manual time): that one runs until the time it reports fills the minimum,
# however long the untimed work of each iteration takes (a UI frame timed without the GPU's
# drawing of it ran for minutes). So every benchmark that times itself fixes its iteration count
# (BenchIterations). The benchmarks are read as each program lists them for a run with no options.
#   runs_are_bounded.sh PROGRAM...
set -eu
. "$(dirname "$0")/../../tests/cli/checks.sh"
# A brief run's counts are not the ones checked.
unset BENCHMARK_MIN_TIME
[ "$#" -gt 0 ] || fail "no benchmark programs given"
unbounded=""
for program in "$@"; do
    list=$("$program" --benchmark_list_tests 2> /dev/null) || fail "$program did not list its benchmarks"
    [ -n "$list" ] || fail "$program lists no benchmarks"
    for name in $(printf '%s\n' "$list" | awk '/\/manual_time$/ && !/\/iterations:[0-9]+\//'); do
        unbounded="$unbounded $(basename "$program"):$name"
    done
done
[ -z "$unbounded" ] || fail "these time themselves without a fixed iteration count:$unbounded"
