#!/usr/bin/env python3
"""The strata of --by found independently of veltrum, and the parts of a --by run taken apart.

    by_strata.py split DATA VAR DIR     each stratum's records as a data file of its own, DIR/1.csv
                                        (or .dat) and so on in order of first appearance; prints
                                        the values, one a line
    by_strata.py report ALL N OUT       the N-th report of a --report file of a --by run
    by_strata.py json ALL N SINGLE      whether the N-th line of a --by run's JSON Lines meets the
                                        schema and, without "by", is the document of the single
                                        run (both without the data file's name); prints "by"

A CSV table is split with Python's csv module by the cell as written; a data file of the host's
format by the text of VAR's field (the header line gives each field's width), blank lines left out.
"""
import csv
import json
import os
import sys

import jsonschema


def split(data, var, out):
    strata = {}
    if data.endswith(".csv"):
        with open(data, newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
        header, records = rows[0], rows[1:]
        k = header.index(var)
        for r in records:
            if r[k] != "":
                strata.setdefault(r[k], []).append(r)
        for i, (value, rs) in enumerate(strata.items(), 1):
            with open(os.path.join(out, f"{i}.csv"), "w", newline="", encoding="utf-8") as f:
                csv.writer(f).writerows([header] + rs)
    else:
        with open(data, "rb") as f:
            lines = f.read().decode("cp1252").replace("\r\n", "\n").split("\n")
        header = lines[0]
        fields = [h.split(";") for h in header.split(" ")]
        start = 0  # column 1 takes its width + 1 characters, each further one a blank and its width
        for i, (name, _, width, _) in enumerate(fields):
            length = int(width) + 1
            if name == var:
                break
            start += length
        for line in lines[1:]:
            if line.strip():
                value = line[start:start + length].strip()
                if value:
                    strata.setdefault(value, []).append(line)
        for i, (value, ls) in enumerate(strata.items(), 1):
            with open(os.path.join(out, f"{i}.dat"), "wb") as f:
                f.write("".join(l + "\r\n" for l in [header] + ls).encode("cp1252"))
    print("\n".join(strata))


def report(all_reports, n, out):
    with open(all_reports, "rb") as f:
        parts = f.read().split(b"--- Schicht ")
    with open(out, "wb") as f:
        f.write(parts[int(n)].split(b"\r\n", 1)[1])


def same_json(lines, n, single):
    with open(lines, encoding="utf-8") as f:
        doc = json.loads(f.read().splitlines()[int(n) - 1])
    with open(single, encoding="utf-8") as f:
        one = json.load(f)
    schema = os.path.join(os.path.dirname(__file__), "..", "..", "docs", "veltrum-result.schema.json")
    with open(schema, encoding="utf-8") as f:
        jsonschema.validate(doc, json.load(f))
    by = doc.pop("by")
    for d in (doc, one):
        d["input"].pop("data_file", None)
    print(json.dumps(by))
    return doc == one


if __name__ == "__main__":
    what, *args = sys.argv[1:]
    if what == "split":
        split(*args)
    elif what == "report":
        report(*args)
    else:
        sys.exit(0 if same_json(*args) else 1)
