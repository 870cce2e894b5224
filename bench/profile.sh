#!/bin/bash
# Where the time of one window action goes. perf starts with its events off;
# the benchmark switches them on only while a timed action runs, so the
# window's start and the opens before the action are not in the profile.
#
# Usage: [FREQ=samples_per_s] bench/profile.sh [BUILD_DIR] [BENCHMARK_FILTER] [OUT.data]
#   e.g. bench/profile.sh build-bench EditGrade
# Prints the functions by their own time, then by time spent in them and
# what they call; the data file stays for `perf report -i OUT.data`.
set -eu
build=${1:-build-bench}
filter=${2:-EditGrade}
out=${3:-perf-$filter.data}
fifos=$(mktemp -d)
trap 'rm -rf "$fifos"' EXIT
mkfifo "$fifos/ctl" "$fifos/ack"
exec 8<>"$fifos/ctl" 9<>"$fifos/ack"
VEKLA_PERF_CTL_FD=8 VEKLA_PERF_ACK_FD=9 \
  perf record -q -F "${FREQ:-1000}" --call-graph dwarf,32768 -D -1 --control fd:8,9 -o "$out" -- \
  "$build/vekla_bench_window" --benchmark_filter="$filter" >/dev/null 2>&1
report() {
  perf report -i "$out" --sort symbol --stdio -g none --percent-limit "$@" 2>/dev/null |
    grep -v -E '^#|^$|\] 0x|benchmark::|BM_|QTest::|__libc|_start$|\] main|notify|EventFilters' |
    sed 's/ *- *- *$//'
}
echo "== $filter: own time"
report 1 --no-children
echo "== $filter: with callees"
report 2 --children | head -60
