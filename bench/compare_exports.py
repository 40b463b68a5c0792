#!/usr/bin/python3
"""Compares two folders written by bench/write_exports.sh: files byte for byte; where they
differ, cell by cell, accepting only a number one unit apart in its last digit (a value at a
rounding boundary computed by another road). Prints a summary; exits 1 on any other difference.
Usage: bench/compare_exports.py BEFORE_DIR AFTER_DIR"""
import csv
import os
import sys
from decimal import Decimal

import xlrd


def last_digit_neighbours(a, b):
    """Two number texts of the same form one unit apart in their last digit."""
    try:
        da, db = Decimal(a), Decimal(b)
    except Exception:
        return False
    if len(a) != len(b) and len(a.lstrip("-")) != len(b.lstrip("-")):
        return False
    unit = Decimal(1).scaleb(da.as_tuple().exponent)
    if "e" in a.lower():
        mantissa_a, mantissa_b = Decimal(a.lower().split("e")[0]), Decimal(b.lower().split("e")[0])
        unit = Decimal(1).scaleb(mantissa_a.as_tuple().exponent)
        return a.lower().split("e")[1] == b.lower().split("e")[1] and abs(mantissa_a - mantissa_b) == unit
    return abs(da - db) == unit


def rows_of(path):
    if path.endswith(".csv"):
        with open(path, encoding="utf-8", newline="") as f:
            return [row for row in csv.reader(f)]
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    return [[repr(v) if isinstance(v, float) else v for v in sheet.row_values(r)] for r in range(sheet.nrows)]


def main():
    before, after = sys.argv[1], sys.argv[2]
    identical = neighbours = bad = 0
    for name in sorted(os.listdir(before)):
        a, b = os.path.join(before, name), os.path.join(after, name)
        if not os.path.exists(b):
            print(f"{name}: missing"); bad += 1; continue
        if open(a, "rb").read() == open(b, "rb").read():
            identical += 1; continue
        ra, rb = rows_of(a), rows_of(b)
        if len(ra) != len(rb):
            print(f"{name}: {len(ra)} rows against {len(rb)}"); bad += 1; continue
        cells = 0
        for r, (x, y) in enumerate(zip(ra, rb)):
            for c, (u, v) in enumerate(zip(x, y)):
                if u == v:
                    continue
                if name.endswith(".xls"):
                    ok = abs(float(u) - float(v)) <= 1.0001 * 10 ** -5 * max(1, abs(float(u))) if u[0:1] in "-0123456789" else False
                else:
                    ok = last_digit_neighbours(u, v)
                if not ok:
                    print(f"{name}: row {r} column {c}: {u!r} against {v!r}"); bad += 1
                cells += 1
            if len(x) != len(y):
                print(f"{name}: row {r} has {len(x)} cells against {len(y)}"); bad += 1
        print(f"{name}: {cells} cells one unit apart in the last digit")
        neighbours += 1
    print(f"{identical} files identical, {neighbours} with last-digit neighbours, {bad} other differences")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
