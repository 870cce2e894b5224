#!/usr/bin/env python3
"""Damaged files built to make the program work or hold far more than their
size: databases and CSV files of every kind, each within the 16 MB limit.

Usage: bench/hostile.py FOLDER

Writes the files into FOLDER and prints one line per case to standard output:
    NAME<TAB>INPUT<TAB>OUTPUT<TAB>OPTIONS
INPUT and OUTPUT are relative to FOLDER; OPTIONS are extra arguments of
vekla-convert (may be empty). bench/hostile.sh runs them.
"""
import os
import struct
import sys

LIMIT = 16 * 1024 * 1024  # the largest database or CSV file the program reads


def pdb(name, kind_type, creator, records):
    """A Palm database: header, record list, eight zero bytes, bodies. Each
    record is a list of fields (bytes) or a ready body (bytes)."""
    bodies = [r if isinstance(r, (bytes, bytearray)) else b"".join(f + b"\0" for f in r) for r in records]
    n = len(bodies)
    head = name.encode("cp1250")[:31].ljust(32, b"\0")
    head += b"\x00\x08" + b"\0\0"
    head += struct.pack(">IIIIII", 0xC0000000, 0xC0000000, 1, 0, 0, 0)
    head += kind_type.encode().ljust(4, b"\0") + creator.encode().ljust(4, b"\0")
    head += struct.pack(">IIH", 0, 0, n)
    offset = 78 + 8 * (n + 1)
    entries = bytearray()
    for body in bodies:
        entries += struct.pack(">I", offset) + b"\0\0\0\0"
        offset += len(body)
    out = bytes(head) + bytes(entries) + b"\0" * 8 + b"".join(bodies)
    assert len(out) <= LIMIT, (name, len(out))
    return out


def fill(used):
    """How many bytes are left under the limit after `used`."""
    return LIMIT - used


def topic_specials():
    return [[b"-1", b"2", b"ffffff"] + [b"0"] * 5, [b"0", b"2"] + [b"0"] * 6]


def timetable(extra_record, extra_body):
    """A timetable of seven lessons whose record `extra_record` is `extra_body`."""
    records = []
    for r in range(1, 40):
        if r == 1:
            records.append([b"0", b"7", b"1", b"0", b"ffffff"])
        elif r == extra_record:
            records.append(extra_body)
        else:
            records.append([b"."] + [b""] * 24)
    return records


def grade_class(semesters=1, columns=1, days=None):
    """Records 1 to 3 of a grade book."""
    r1, r2, r3 = [b"-2", b"3", b"ffffff"], [b"-1", b"3", b"1"], [b"0", b"20241", b""]
    for j in range(1, semesters + 1):
        label = b"%d%d" % (2000 + (j + 1) // 2, 2 - j % 2)
        r1 += [days if days is not None else bytes([1, 9]) * columns, b""]
        r2 += [bytes([8, 60]) * columns, label]
        r3 += [bytes([8, 45]) * columns, b"0"]
    return [r1, r2, r3]


def student(number, name=b"Novak Jan", semesters=1, columns=1, order=None, z=None):
    rec = [order if order is not None else str(number).encode(), name, b"0"]
    for _ in range(semesters):
        rec += [z if z is not None else bytes([1, 1]) * columns, b""]
    return rec


def grades_db(name, records):
    return pdb(name, "data", "TqbZ", records)


def main():
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "out"), exist_ok=True)
    cases = []

    def put(rel, data):
        path = os.path.join(folder, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def case(name, rel, data, output, options=""):
        put(rel, data)
        cases.append((name, rel, output, options))

    # One record of millions of empty fields, in each kind.
    small = len(pdb("x", "data", "TqbR", topic_specials() + [b""]))
    case("topic plan: one record of 16.7 M empty fields", "Rozpisy-pole.PDB",
         pdb("Rozpisy-pole", "data", "TqbR", topic_specials() + [b"\0" * fill(small)]), "out/Rozpisy-pole.PDB")
    small = len(pdb("vekla-datum", "datu", "TqbK", [b""]))
    case("calendar: one record of 16.7 M empty fields", "vekla-datum-pole.PDB",
         pdb("vekla-datum", "datu", "TqbK", [b"\0" * fill(small)]), "out/vekla-datum-pole.PDB")
    small = len(pdb("Vekla-pole", "data", "TqbK", timetable(12, b"")))
    case("timetable: one record of 16.7 M empty fields", "Vekla-pole.PDB",
         pdb("Vekla-pole", "data", "TqbK", timetable(12, b"\0" * fill(small))), "out/Vekla-pole.PDB")
    records = grade_class() + [student(1)]
    small = len(grades_db("Znamky-pololeti", records))
    records[1] = b"-1\0" + b"\0" * fill(small + 3)
    case("grade book: class record of 16.7 M fields (semesters)", "Znamky-pololeti.PDB",
         grades_db("Znamky-pololeti", records), "out/Znamky-pololeti.PDB")
    records = grade_class() + [student(1)]
    small = len(grades_db("Znamky-zak", records))
    records[3] = b"1\0" + b"\0" * fill(small + 2)
    case("grade book: student record of 16.7 M fields", "Znamky-zak.PDB", grades_db("Znamky-zak", records),
         "out/Znamky-zak.PDB")
    prefs = [[b"0"], [b"0"], [], [b"ff0000", b"1"] * 4, [b"00ff00", b"1.5"] * 5]
    small = len(pdb("Znamky-db_pref", "data", "TqbZ", prefs))
    prefs[2] = b"\0" * fill(small)
    put("pref/Znamky-db_pref.PDB", pdb("Znamky-db_pref", "data", "TqbZ", prefs))
    case("grade book beside preferences whose scale record has 16.7 M fields", "pref/Znamky-7A.PDB",
         grades_db("Znamky-7A", grade_class() + [student(1)]), "out/Znamky-7A.PDB")

    # Many records.
    fields = (LIMIT - 78 - 8 - 65535 * 8) // 65535
    case("topic plan: 65,535 records of %d empty fields" % fields, "Rozpisy-zaznamy.PDB",
         pdb("Rozpisy-zaznamy", "data", "TqbR", [b"\0" * fields] * 65535), "out/Rozpisy-zaznamy.PDB")
    bad = [b"x", b"t", b"32.13.2025", b"p", b"x", b"x", b"x", b"2"]
    case("topic plan: 65,533 topics, 6 repairs each", "Rozpisy-opravy.PDB",
         pdb("Rozpisy-opravy", "data", "TqbR", topic_specials() + [bad] * 65533), "out/Rozpisy-opravy.PDB")
    small = len(pdb("vekla-datum", "datu", "TqbK", [b""] * 65535))
    case("calendar: 65,535 days of 240-byte texts", "vekla-datum-dny.PDB",
         pdb("vekla-datum", "datu", "TqbK", [b"x" * (fill(small) // 65535 - 1) + b"\0"] * 65535),
         "out/vekla-datum-dny.PDB")

    # Long cells.
    small = len(pdb("Rozpisy-dlouhe", "data", "TqbR", topic_specials() + [[b"1", b""]]))
    case("topic plan: one topic of 16.7 MB", "Rozpisy-dlouhe.PDB",
         pdb("Rozpisy-dlouhe", "data", "TqbR", topic_specials() + [[b"1", b"\xe8" * fill(small)]]),
         "out/Rozpisy-dlouhe.PDB")
    records = grade_class() + [student(1, name=b"")]
    small = len(grades_db("Znamky-jmeno", records))
    records[3] = student(1, name=b"\xe8" * fill(small))
    case("grade book: a name of 16.7 MB", "Znamky-jmeno.PDB", grades_db("Znamky-jmeno", records),
         "out/Znamky-jmeno.PDB")
    records = grade_class() + [student(1, order=b"")]
    small = len(grades_db("Znamky-poradi", records))
    records[3] = student(1, order=b"x" * fill(small))
    case("grade book: an order number of 16.7 MB", "Znamky-poradi.PDB", grades_db("Znamky-poradi", records),
         "out/Znamky-poradi.PDB")
    records = grade_class(days=b"")
    small = len(grades_db("Znamky-dny", records + [student(1)]))
    case("grade book: a date list of 16.7 MB", "Znamky-dny.PDB",
         grades_db("Znamky-dny", grade_class(days=bytes([1, 9]) * (fill(small) // 2)) + [student(1)]),
         "out/Znamky-dny.PDB")
    records = grade_class() + [student(1, z=b"")]
    small = len(grades_db("Znamky-z", records))
    records[3] = student(1, z=bytes([1, 1]) * (fill(small) // 2))
    case("grade book: a student's grade list of 16.7 MB", "Znamky-z.PDB", grades_db("Znamky-z", records),
         "out/Znamky-z.PDB")

    # Many semesters: the largest class, every semester full.
    semesters = (LIMIT - 10000) // (999 * 256)
    records = grade_class(semesters, 127) + [student(n, b"Zak %d" % n, semesters, 127) for n in range(1, 1000)]
    case("grade book: 999 students, %d semesters of 127 grades" % semesters, "Znamky-velka.PDB",
         grades_db("Znamky-velka", records), "out/Znamky-velka.PDB")

    # The most semesters a grade book may have, every student with a note in each.
    note = b"n" * ((LIMIT - 30000) // (999 * 100) - 5)
    records = grade_class(100) + [student(n, b"Zak %d" % n, 100) for n in range(1, 1000)]
    for rec in records[3:]:
        rec[4::2] = [note] * 100
    case("grade book: 999 students, 100 semesters, a note of %d bytes in each" % len(note), "Znamky-pololeti100.PDB",
         grades_db("Znamky-pololeti100", records), "out/Znamky-pololeti100.PDB")

    # CSV files.
    case("topic-plan CSV: one line of 16.7 M empty fields", "Rozpisy-pole.csv", b";" * (LIMIT - 2) + b"\r\n",
         "out/Rozpisy-pole-csv.PDB")
    case("calendar CSV: one line of 16.7 M empty fields", "vekla-datum-pole.csv", b";" * (LIMIT - 2) + b"\r\n",
         "out/vekla-datum-pole-csv.PDB")
    case("timetable CSV: one line of 16.7 M empty fields", "Vekla-pole.csv", b";" * (LIMIT - 2) + b"\r\n",
         "out/Vekla-pole-csv.PDB")
    title = "Pořadí;Jméno".encode("cp1250")
    topic = b"1;a;;;;;;0\r\n"
    case("topic-plan CSV: a topic, then a line of 16.7 M empty fields", "Rozpisy-pole2.csv",
         topic + b";" * (LIMIT - 2 - len(topic)) + b"\r\n", "out/Rozpisy-pole2-csv.PDB")
    case("calendar CSV: a day, then a line of 16.7 M empty fields", "vekla-datum-pole2.csv",
         b"a\r\n" + b";" * (LIMIT - 5) + b"\r\n", "out/vekla-datum-pole2-csv.PDB")
    case("grade-book CSV: a title line of 16.7 M fields", "Znamky-pole.csv",
         title + b";" * (LIMIT - 2 - len(title)) + b"\r\n", "out/Znamky-pole-csv.PDB")
    case("topic-plan CSV: 16.7 M empty lines", "Rozpisy-radky.csv", b"\n" * LIMIT, "out/Rozpisy-radky-csv.PDB")
    case("timetable CSV: 16.7 M empty lines", "Vekla-radky.csv", b"\n" * LIMIT, "out/Vekla-radky-csv.PDB")
    case("grade-book CSV: a title line, then 16.7 M empty lines", "Znamky-radky.csv",
         title + b"\n" * (LIMIT - len(title)), "out/Znamky-radky-csv.PDB")
    case("timetable CSV in UTF-8: 4.2 M lines of a character code page 1250 lacks", "Vekla-utf8.csv",
         "✓\n".encode() * (LIMIT // 4), "out/Vekla-utf8-csv.PDB")
    case("topic-plan CSV in UTF-16: one line of 8.4 M empty fields", "Rozpisy-utf16.csv",
         b"\xff\xfe" + ";".encode("utf-16-le") * ((LIMIT - 6) // 2) + "\r\n".encode("utf-16-le")[:2],
         "out/Rozpisy-utf16-csv.PDB")
    case("topic-plan CSV: one line of 5.6 M quoted empty fields", "Rozpisy-uvozovky.csv",
         b'"";' * ((LIMIT - 2) // 3) + b"\r\n", "out/Rozpisy-uvozovky-csv.PDB")
    case("topic-plan CSV: 65,533 topics, 6 repairs each", "Rozpisy-opravy.csv",
         b"x;t;32.13.2025;p;x;x;x;2\r\n" * 65533, "out/Rozpisy-opravy-csv.PDB")
    case("topic-plan CSV: one topic of 16.7 MB", "Rozpisy-dlouhe.csv", b"1;" + b"\xe8" * (LIMIT - 4) + b"\r\n",
         "out/Rozpisy-dlouhe-csv.PDB")
    head = title + b";" + b";".join(b"%d" % c for c in range(1, 128)) + "\r\n".encode()
    head += b";;" + b";".join([b"1.9"] * 127) + b"\r\n"
    head += b";;" + b";".join([b"08:00"] * 127) + b"\r\n" + b";;" + b";".join([b"08:45"] * 127) + b"\r\n"
    body = head + b"1;" + b"\xe8" * (LIMIT - len(head) - 8) + b"\r\n"
    case("grade-book CSV: a name of 16.7 MB", "Znamky-dlouhe.csv", body, "out/Znamky-dlouhe-csv.PDB")
    students = b"".join(b"%d;Zak;1\r\n" % n for n in range(1, 1000))
    times = b";;1.9\r\n;;08:00\r\n;;08:45\r\n"
    long_title = title + b";" + b"x" * (LIMIT - len(title) - len(times) - len(students) - 3) + b"\r\n"
    case("grade-book CSV: a grade column title of 16.7 MB over 999 graded students", "Znamky-titulek.csv",
         long_title + times + students, "out/Znamky-titulek-csv.PDB")
    grades = b";".join([b"9 x"] * 127)
    name_line = b"1;" + b"x" * (LIMIT - len(head) - len(grades) - 16) + b";" + grades + b";;;;0\r\n"
    case("grade-book values CSV: a name of 16.7 MB before 127 wrong values", "Znamky-jmeno.csv", head + name_line,
         "out/Znamky-jmeno-csv.PDB", "--two-values")
    lines = b"".join(b"%d;Zak %d;" % (n, n) + b";".join([b"9 x"] * 127) + b";;;;0\r\n" for n in range(1, 1000))
    case("grade-book values CSV: 999 students by 127 wrong values", "Znamky-hodnoty.csv", head + lines,
         "out/Znamky-hodnoty-csv.PDB", "--two-values")

    for name, rel, output, options in cases:
        print("\t".join((name, rel, output, options)))


if __name__ == "__main__":
    main()
