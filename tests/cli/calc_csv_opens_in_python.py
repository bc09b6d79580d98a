#!/usr/bin/env python3
"""`atmocalc calc --csv` read as a spreadsheet importer reads it, through Python's csv module, against the
same calculation's JSON: calc_csv_opens_in_python.py ATMOCALC."""
import csv
import io
import json
import os
import sqlite3
import subprocess
import sys
import tempfile

tool = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    done = subprocess.run([tool, *args], capture_output=True)
    return done.returncode, done.stdout, done.stderr.decode()


with tempfile.TemporaryDirectory() as folder:
    code, _, err = run("demo", folder)
    assert code == 0, err
    db = os.path.join(folder, "host.db")
    # A sample name that needs quoting: separator, quotes and a line break; still of no sample type.
    awkward = 'Проба "воздух"; цех №3\nсмена 2'
    with sqlite3.connect(db) as connection:
        connection.execute("UPDATE assay SET sample = ? WHERE id = 8", (awkward,))
    table = os.path.join(folder, "public/Documents/Veltra4/atmocalc/files/CompsTable.csv")
    inputs = ["--db", db, "--ids", "1,2,3,4,5,6,7,8", "--components", table,
              "--std-mode", "1", "--press-grad", "750", "--press-an", "745"]

    code, out, err = run("calc", *inputs, "--csv")
    assert code == 0, err
    code, js, _ = run("calc", *inputs, "--json", "--trace")
    expected = json.loads(js)

    check(out.startswith(b"\xef\xbb\xbf"), "the text starts with a byte-order mark")
    outside = out.replace(awkward.replace('"', '""').encode(), b"")
    check(b"\r\n" in out and b"\n" not in outside.replace(b"\r\n", b""), "lines end in CR LF")
    lines = list(csv.reader(io.StringIO(out.decode("utf-8-sig"), newline=""), delimiter=";"))
    blank = lines.index([])
    rows, chromatograms = lines[:blank], lines[blank + 1:]

    check(rows[0] == ["Компонент", "Значение", "Погрешность", "Единица"], f"rows heading {rows[0]}")
    check(len(rows) - 1 == len(expected["rows"]) > 2, "one line per result row")
    trace = expected["trace"]
    check(float(rows[1][1].replace(",", ".")) == trace["saturated"], "the saturated sum bit for bit")
    for line, row in zip(rows[1:], expected["rows"]):
        value, uncertainty = (float(field.replace(",", ".")) for field in line[1:3])
        check(line[0] == row["name"], f"name {line[0]}")
        check(uncertainty == value * 0.23, f"{line[0]}: the uncertainty is the engine's")
        check("%.4f±%.4f %s" % (value, uncertainty, line[3]) == row["value"], f"{line} prints as {row['value']}")

    check(chromatograms[0] == ["№", "Файл", "Проба", "Дата анализа", "Тип пробы"], f"heading {chromatograms[0]}")
    listed = expected["chromatograms"]
    check(len(chromatograms) - 1 == len(listed), "one line per chromatogram")
    for number, (line, c) in enumerate(zip(chromatograms[1:], listed), 1):
        check(line[:3] == [str(number), os.path.basename(c["fileName"]), c["sample"]], f"chromatogram {line}")
        check(line[4] == c["sampleTypeName"], f"type {line}")
    check(chromatograms[8][2] == awkward, "the quoted sample reads back whole")

    code, _, err = run("calc", *inputs, "--csv", "--json")
    check(code == 2 and "--csv" in err, "--csv with --json is a usage error")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
