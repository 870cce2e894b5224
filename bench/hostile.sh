#!/bin/bash
# `vekla-convert` on damaged files of up to 16 MB built to make it work or
# hold far more than their size (bench/hostile.py). For each file: the exit
# status, the wall time (hyperfine median of RUNS runs, or the one measured
# run), the processor time of that run (user + system) and its peak memory
# (maximum resident set, /usr/bin/time -v). Prints a Markdown table.
#
# A run may take at most 4 GB of address space and 120 s: the program before
# these files were bounded needed more than 20 GB for one of them.
#
# Usage: bench/hostile.sh [BUILD_DIR|CONVERTER] [RUNS] [FILTER]
#   RUNS   hyperfine runs per file (default 5; 1 for the measured run alone)
#   FILTER only the files whose name contains it
set -eu
target=${1:-build}
runs=${2:-5}
filter=${3:-}
convert=$target
[ -d "$target" ] && convert="$target/vekla-convert"
convert=$(realpath "$convert")
here=$(dirname "$(realpath "$0")")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 "$here/hostile.py" "$dir" >"$dir/cases.tsv"

echo "| file | size | exit | time (median) | processor time | peak memory |"
echo "|---|---|---|---|---|---|"
while IFS=$'\t' read -r name input output options; do
  case "$input" in *"$filter"*) ;; *) continue ;; esac
  # shellcheck disable=SC2206
  args=(--now "2025-11-03 10:00:00" $options "$dir/$input" "$dir/$output")
  size=$(stat -c %s "$dir/$input")
  rm -f "$dir/$output" "$dir/time.txt"
  set +e
  (
    ulimit -v $((4 * 1024 * 1024))
    exec timeout 120 /usr/bin/time -v -o "$dir/time.txt" "$convert" "${args[@]}"
  ) >/dev/null 2>"$dir/err.txt"
  status=$?
  set -e
  rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f MB", $2 / 1024 }' "$dir/time.txt")
  cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 }
    END { t = u + s; if (t < 1) printf "%d ms", t * 1000; else printf "%.2f s", t }' "$dir/time.txt")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); t = p[n] + 60 * p[n - 1];
    if (t < 1) printf "%d ms", t * 1000; else printf "%.2f s", t }' "$dir/time.txt")
  timed=1
  if grep -q bad_alloc "$dir/err.txt"; then
    status="$status: out of memory at the 4 GB limit"
  elif [ "$status" = 124 ]; then
    status="killed after 120 s"
  elif [ "$status" -gt 1 ]; then
    status="$status: aborted"
  else
    timed=0
  fi
  # Several runs only of a file that took less than 10 s and was not stopped.
  if command -v hyperfine >/dev/null && [ "$runs" -gt 1 ] && [ "$timed" = 0 ] &&
    awk -F': ' '/Elapsed/ { n = split($2, p, ":"); exit !(p[n] + 60 * p[n - 1] < 10) }' "$dir/time.txt"; then
    (
      ulimit -v $((4 * 1024 * 1024))
      exec hyperfine -N -i --runs "$runs" --export-json "$dir/times.json" --output=null \
        "$(printf "%q " timeout 120 "$convert" "${args[@]}")"
    ) >/dev/null 2>&1
    wall=$(jq -r '.results[0].median | if . < 1 then "\(. * 1000 | floor) ms" else "\(. * 100 | floor / 100) s" end' \
      "$dir/times.json")
  fi
  echo "| $name | $size | $status | $wall | $cpu | $rss |"
  if [ -n "${VERBOSE:-}" ]; then head -c 300 "$dir/err.txt" | sed 's/^/    /' >&2; fi
done <"$dir/cases.tsv"
