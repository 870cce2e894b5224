#!/bin/bash
# The workbooks of the largest grade book (999 students, ten semesters of 127
# grades) through whole `vekla-convert` processes, one per layout and display
# options: times each with hyperfine (a loop of /usr/bin/time without it) and
# prints the median wall time, the processor time (user and system, mean:
# steadier than the wall time on a machine shared with other work), the peak
# memory and the workbook's size.
#
# Usage: bench/workbooks.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build-bench}
runs=${2:-15}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
QT_QPA_PLATFORM=offscreen "$build/vekla_bench_window" --write-gradebook "$dir" 2>/dev/null
in="$dir/Znamky-velka.PDB"
# Options as the page stem writes them: Zhustit, Barevne, ZnamkyBarevne, Zvlast.
for options in 0110 1110 0111 1001 1111; do
  printf '[Znamky]\r\nZhustit=%s\r\nBarevne=%s\r\nZnamkyBarevne=%s\r\nZvlast=%s\r\n' \
    "${options:0:1}" "${options:1:1}" "${options:2:1}" "${options:3:1}" >"$dir/$options.ini"
  out="$dir/$options.xlsx"
  convert=("$build/vekla-convert" --now "2025-11-03 10:00:00" --settings "$dir/$options.ini" "$in" "$out")
  "${convert[@]}" 2>/dev/null
  if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 3 --runs "$runs" --export-json "$dir/times.json" --output=null \
      "$(printf "%q " "${convert[@]}")" >/dev/null
    median=$(jq -r '.results[0].median * 1000 | floor' "$dir/times.json")
    cpu=$(jq -r '(.results[0].user + .results[0].system) * 1000 | floor' "$dir/times.json")
  else
    median=$(for _ in $(seq "$runs"); do /usr/bin/time -f "%e" "${convert[@]}" 2>&1 >/dev/null | tail -1; done |
      sort -n | awk '{ t[NR] = $1 } END { printf "%d", t[int((NR + 1) / 2)] * 1000 }')
    cpu=$(/usr/bin/time -f "%U %S" "${convert[@]}" 2>&1 >/dev/null | tail -1 | awk '{ printf "%d", ($1 + $2) * 1000 }')
  fi
  peak=$(/usr/bin/time -f "%M" "${convert[@]}" 2>&1 >/dev/null | tail -1)
  echo "options $options: median $median ms, processor $cpu ms, peak memory $((peak / 1024)) MB," \
    "$(stat -c %s "$out") bytes"
done
