#!/bin/bash
# The whole-process `vekla-convert` PDB to PDB run on the largest grade book:
# times it with hyperfine (a loop of /usr/bin/time without it), prints the
# median and the peak memory, and checks that the output is byte-identical.
#
# Usage: bench/convert.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build-bench}
runs=${2:-30}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
QT_QPA_PLATFORM=offscreen "$build/vekla_bench_window" --write-gradebook "$dir" 2>/dev/null
mkdir "$dir/out"
in="$dir/Znamky-velka.PDB"
out="$dir/out/Znamky-velka.PDB"
convert=("$build/vekla-convert" --now "2025-11-03 10:00:00" "$in" "$out")
echo "input: $(stat -c %s "$in") bytes"
if command -v hyperfine >/dev/null; then
  hyperfine -N --warmup 3 --runs "$runs" --export-json "$dir/times.json" --output=null "$(printf "%q " "${convert[@]}")"
  jq -r '.results[0] | "median \(.median * 1000 | floor) ms (min \(.min * 1000 | floor), max \(.max * 1000 | floor))"' \
    "$dir/times.json"
else
  for _ in $(seq "$runs"); do /usr/bin/time -f "%e" "${convert[@]}" 2>&1 >/dev/null | tail -1; done |
    sort -n | awk '{ t[NR] = $1 } END { printf "median %d ms\n", t[int((NR + 1) / 2)] * 1000 }'
fi
/usr/bin/time -f "peak memory %M KB" "${convert[@]}" 2>&1 >/dev/null | tail -1
cmp "$in" "$out" && echo "output byte-identical"
