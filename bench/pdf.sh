#!/bin/bash
# Whole `vekla-convert` processes writing PDF files, timed with hyperfine:
# the sheet of a class of 30 (12 grade columns) and of the largest grade
# book of the benchmark's generator (999 students, 127 grade columns), the
# report of the class of 30; and, for the conversions that must not pay for
# the printing library, CSV and SQL of the class of 30 (pass a second build
# folder to time the same with it, for example one without printing).
#
# Usage: bench/pdf.sh [BUILD_DIR] [RUNS] [OTHER_BUILD_DIR]
set -eu
build=${1:-build-bench}
runs=${2:-30}
other=${3:-}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
now=(--now "2025-11-03 10:00:00")

# The class of 30 as the grade book's CSV file, then as a database.
{
  printf 'Po\xf8ad\xed;Jm\xe9no'
  for c in $(seq 12); do printf ';%d' "$c"; done
  printf ';Pr\xf9m\xecr;Sm. odch.;Pozn\xe1mka;Zkou\x9aen\r\n;'
  for c in $(seq 12); do printf ';%d.9' $((c + 2)); done
  for t in 08:00 08:45; do printf '\r\n;'; for c in $(seq 12); do printf ';%s' "$t"; done; done
  printf '\r\n'
  symbols=(1 2 3 4 5 1- 2- 3- 4- 5- "1*" "2*" "3*" "4*" "5*")
  for n in $(seq 30); do
    printf '%d;Student %d' "$n" "$n"
    for c in $(seq 12); do printf ';%s' "${symbols[$(((7 * n + 3 * c) % 15))]}"; done
    printf ';;;pozn\xe1mka;0\r\n'
  done
} >"$dir/Znamky-7B.csv"
"$build/vekla-convert" "${now[@]}" "$dir/Znamky-7B.csv" "$dir/Znamky-7B.PDB" 2>/dev/null
QT_QPA_PLATFORM=offscreen "$build/vekla_bench_window" --write-gradebook "$dir" 2>/dev/null
mkdir "$dir/out"

time_it() {
  local name=$1
  shift
  hyperfine -N --warmup 3 --runs "$runs" --export-json "$dir/t.json" --output=null "$(printf "%q " "$@")" >/dev/null
  jq -r --arg n "$name" '.results[0] | "\($n): median \(.median * 1000 | floor) ms (mean \(.mean * 1000 | floor), min \(.min * 1000 | floor), max \(.max * 1000 | floor))"' "$dir/t.json"
}

c=$build/vekla-convert
time_it "PDF, class of 30" "$c" "${now[@]}" "$dir/Znamky-7B.PDB" "$dir/out/7B.pdf"
time_it "report, class of 30" "$c" "${now[@]}" --report "$dir/Znamky-7B.PDB" "$dir/out/7B-vypis.pdf"
time_it "PDF, largest grade book" "$c" "${now[@]}" "$dir/Znamky-velka.PDB" "$dir/out/velka.pdf"
echo "pages: $(pdfinfo "$dir/out/velka.pdf" | awk '/^Pages/ { print $2 }'), $(stat -c %s "$dir/out/velka.pdf") bytes"
/usr/bin/time -f "peak memory %M KB" "$c" "${now[@]}" "$dir/Znamky-velka.PDB" "$dir/out/velka.pdf" 2>&1 >/dev/null | tail -1
for b in "$build" $other; do
  time_it "CSV, class of 30 ($b)" "$b/vekla-convert" "${now[@]}" "$dir/Znamky-7B.PDB" "$dir/out/7B.csv"
  time_it "SQL, class of 30 ($b)" "$b/vekla-convert" "${now[@]}" "$dir/Znamky-7B.PDB" "$dir/out/7B.sql"
  time_it "--version ($b)" "$b/vekla-convert" --version
done
