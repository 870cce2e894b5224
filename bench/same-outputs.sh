#!/bin/bash
# Whether two builds of the converter write the same bytes: every kind (the
# examples, a generated calendar and the largest grade book the database
# holds) into every format, CSV to database and database to every export.
# For changes of the program's structure, which must not change a file.
#
# Usage: bench/same-outputs.sh OLD_VEKLA_CONVERT NEW_VEKLA_CONVERT
set -eu
old=$1 new=$2
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$dir"' EXIT
mkdir "$dir/in"
cp "$here"/examples/*.csv "$dir/in/"
# A calendar: its title and one line a day.
{ printf 'Kalendar 2026\r\n'; for d in $(seq 365); do printf 'den %d\r\n' "$d"; done; } >"$dir/in/vekla-datum.csv"
# The largest grade book: 999 students, 127 grade columns.
python3 - "$dir/in/Znamky-velka.csv" <<'PY'
import sys
cols = 127
rows = [["Pořadí", "Jméno"] + [str(c + 1) for c in range(cols)] + ["Průměr", "Sm. odch.", "Poznámka", "Zkoušen"]]
rows.append(["", ""] + ["%d.%d" % (c % 28 + 1, c % 10 + 1) for c in range(cols)])
rows.append(["", ""] + ["08:00"] * cols)
rows.append(["", ""] + ["08:45"] * cols)
marks = ["1 ", "2 ", "3-", "1-", "4 ", "5 ", "2-", ""]
for r in range(999):
    rows.append([str(r + 1), "Student %03d" % r] + [marks[(r * 7 + c) % 8] for c in range(cols)] + ["", "", "pozn %d" % r, "0"])
open(sys.argv[1], "w", newline="", encoding="cp1250").write("".join(";".join(x) + "\r\n" for x in rows))
PY
now=(--now "2025-11-03 10:00:00")
run() { # run NAME CONVERT: every conversion into $dir/NAME
  local out=$dir/$1 conv=$2
  mkdir -p "$out"
  for csv in "$dir"/in/*.csv; do
    stem=$(basename "$csv" .csv)
    "$conv" "${now[@]}" "$csv" "$out/$stem.PDB" >"$out/$stem.log" 2>&1 || echo "exit $?" >>"$out/$stem.log"
    for ext in csv sql xlsx; do
      "$conv" "${now[@]}" "$out/$stem.PDB" "$out/$stem-out.$ext" >>"$out/$stem.log" 2>&1 || echo "exit $?" >>"$out/$stem.log"
    done
    "$conv" "${now[@]}" "$out/$stem.PDB" "$out/$stem-html/" >>"$out/$stem.log" 2>&1 || echo "exit $?" >>"$out/$stem.log"
    "$conv" "${now[@]}" "$out/$stem.PDB" "$out/$stem-again.PDB" >>"$out/$stem.log" 2>&1 || echo "exit $?" >>"$out/$stem.log"
  done
  "$conv" "${now[@]}" --semester 1 "$out/Znamky-7A.PDB" "$out/Znamky-7A-s1.csv" >>"$out/Znamky-7A.log" 2>&1 || true
  # The logs name the run's folder.
  sed -i "s|$out|OUT|g" "$out"/*.log
}
run old "$old"
run new "$new"
if diff -r "$dir/old" "$dir/new"; then
  echo "same: $(find "$dir/new" -type f | wc -l) files, $(du -sb "$dir/new" | cut -f1) bytes"
else
  echo "DIFFERENT"
  exit 1
fi
