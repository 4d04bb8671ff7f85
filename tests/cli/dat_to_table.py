#!/usr/bin/env python3
"""Writes a data file of the host's format (header of name;type;width;decimals fields, fixed-width
records) as a delimited table, independently of veltrum: the cells are cut out of the records by
the column rule (column 1 takes width + 1 characters, every further column a separating blank and
its width) and stripped of blanks; a blank cell is an empty one.

Usage: dat_to_table.py DAT OUT comma|semicolon|tab
  comma:     ',' separated, '.' decimals, LF line ends
  semicolon: ';' separated, ',' decimals, CR LF line ends and a UTF-8 byte order mark, as German
             spreadsheets write it
  tab:       tab separated, '.' decimals, LF line ends
"""
import re
import sys

NUMBER = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$")


def main(dat, out, style):
    with open(dat, "rb") as f:
        lines = f.read().decode("cp1252").replace("\r\n", "\n").split("\n")
    fields = [field.split(";") for field in lines[0].split(" ")]
    names = [field[0] for field in fields]
    widths = [int(field[2]) for field in fields]
    starts = [0]
    for i, width in enumerate(widths):
        starts.append(starts[-1] + width + (2 if i == 0 else 1))
    rows = []
    for line in lines[1:]:
        if not line.strip():
            continue
        cells = [line[starts[i]:starts[i + 1] - 1].strip() if i else line[0:starts[1] - 1].strip()
                 for i in range(len(names))]
        for cell in cells:
            assert cell == "" or NUMBER.match(cell), (dat, cell)
        rows.append(cells)
    sep, end, bom = {"comma": (",", "\n", ""), "semicolon": (";", "\r\n", "\ufeff"),
                     "tab": ("\t", "\n", "")}[style]
    if style == "semicolon":
        rows = [[cell.replace(".", ",") for cell in row] for row in rows]
    text = bom + sep.join(names) + end + "".join(sep.join(row) + end for row in rows)
    with open(out, "wb") as f:
        f.write(text.encode("utf-8"))


if __name__ == "__main__":
    main(*sys.argv[1:])
