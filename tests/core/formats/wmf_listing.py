#!/usr/bin/env python3
"""Independent reader for the metafile tests.

  wmf_listing.py FILE.wmf

Walks the records of the placeable metafile itself (header fields, checksum, record
sizes, object table), then has libwmf's wmf2svg draw it and lists what the SVG shows.
Prints one item per line, fields separated by TAB, coordinates rounded to pixels:
  header   RIGHT BOTTOM INCH OBJECTS RECORDS
  problem  TEXT                           (anything wrong in the records)
  polygon  FILL STROKE X,Y X,Y ...
  polyline STROKE DASHED X,Y X,Y ...
  line     STROKE DASHED X1,Y1 X2,Y2
  text     FILL WEIGHT SIZE X,Y TEXT
Colours are the names or values wmf2svg writes. Exit status 2 when wmf2svg is missing.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

CREATE = {0x02FA, 0x02FC, 0x02FB, 0x00F7, 0x06FF, 0x01F9, 0x0142}  # records that add an object


def walk(data):
    out, problems = [], []
    key, _, left, top, right, bottom, inch, _, checksum = struct.unpack_from("<IHhhhhHIH", data, 0)
    if key != 0x9AC6CDD7:
        return ["problem\tno placeable header"]
    xor = 0
    for (word,) in struct.iter_unpack("<H", data[:20]):
        xor ^= word
    if xor != checksum:
        problems.append("placeable checksum %04X, header says %04X" % (xor, checksum))
    if (left, top) != (0, 0):
        problems.append("bounding box starts at %d,%d" % (left, top))
    mt_type, header_words, version, size_words, objects, max_record, parameters = struct.unpack_from(
        "<HHHIHIH", data, 22)
    if (mt_type, header_words, version, parameters) != (1, 9, 0x0300, 0):
        problems.append("metafile header %r" % ((mt_type, header_words, version, parameters),))
    if size_words * 2 != len(data) - 22:
        problems.append("size %d words, file has %d" % (size_words, (len(data) - 22) // 2))
    table, peak, largest, records, at = [], 0, 0, 0, 22 + 18
    while True:
        if at + 6 > len(data):
            problems.append("records run past the end")
            break
        words, function = struct.unpack_from("<IH", data, at)
        largest = max(largest, words)
        records += 1
        if words < 3:
            problems.append("record of %d words" % words)
            break
        params = data[at + 6: at + 2 * words]
        if function in CREATE:
            slot = table.index(False) if False in table else len(table)
            if slot == len(table):
                table.append(True)
            table[slot] = True
            peak = max(peak, len(table))
        elif function in (0x012D, 0x01F0):
            (slot,) = struct.unpack_from("<H", params)
            if slot >= len(table) or not table[slot]:
                problems.append("%s of empty slot %d" % ("selection" if function == 0x012D else "deletion", slot))
            elif function == 0x01F0:
                table[slot] = False
        elif function in (0x0324, 0x0325):
            (count,) = struct.unpack_from("<h", params)
            if 1 + 2 * count != words - 3:
                problems.append("poly record of %d points in %d words" % (count, words))
        elif function == 0x0521:
            (count,) = struct.unpack_from("<h", params)
            if 1 + (count + 1) // 2 + 2 != words - 3:
                problems.append("text record of %d bytes in %d words" % (count, words))
        at += 2 * words
        if function == 0:
            break
    if at != len(data):
        problems.append("%d bytes after the end record" % (len(data) - at))
    if objects != peak:
        problems.append("header says %d objects, table needs %d" % (objects, peak))
    if max_record != largest:
        problems.append("header says largest record %d words, found %d" % (max_record, largest))
    out.append("header\t%d\t%d\t%d\t%d\t%d" % (right, bottom, inch, objects, records))
    out += ["problem\t" + p for p in problems]
    return out


def points(text):
    pairs = re.findall(r"(-?[\d.]+),(-?[\d.]+)", text)
    return " ".join("%d,%d" % (round(float(x)), round(float(y))) for x, y in pairs)


def style(text):
    return dict(part.split(":", 1) for part in (p.strip() for p in text.split(";")) if ":" in part)


def unescape(text):
    for entity, char in (("&lt;", "<"), ("&gt;", ">"), ("&quot;", '"'), ("&apos;", "'"), ("&amp;", "&")):
        text = text.replace(entity, char)
    return text


def draw(path):
    if shutil.which("wmf2svg") is None:
        print("wmf2svg is missing: install the Debian package libwmf-bin")
        sys.exit(2)
    with tempfile.TemporaryDirectory() as folder:
        svg_path = os.path.join(folder, "picture.svg")
        run = subprocess.run(["wmf2svg", "-o", svg_path, path], capture_output=True)
        if run.returncode != 0 or not os.path.exists(svg_path):
            return ["problem\twmf2svg failed: %s" % run.stderr.decode("utf-8", "replace").strip()]
        with open(svg_path, "rb") as f:
            svg = f.read().decode("cp1252", "replace")  # text bytes are the metafile's own
    out = []
    for kind, body in re.findall(r"<(polygon|polyline|line|text)\b(.*?)(?:/>|</text>)", svg, re.S):
        attributes = dict(re.findall(r'(\w[\w-]*)="([^"]*)"', body))
        s = style(attributes.get("style", ""))
        dashed = "1" if s.get("stroke-dasharray", "none") != "none" else "0"
        if kind == "polygon":
            out.append("polygon\t%s\t%s\t%s" % (s.get("fill", "none"), s.get("stroke", "none"),
                                                points(attributes["points"])))
        elif kind == "polyline":
            out.append("polyline\t%s\t%s\t%s" % (s.get("stroke", "none"), dashed, points(attributes["points"])))
        elif kind == "line":
            out.append("line\t%s\t%s\t%s" % (s.get("stroke", "none"), dashed, points(
                "%s,%s %s,%s" % (attributes["x1"], attributes["y1"], attributes["x2"], attributes["y2"]))))
        else:
            matrix = re.findall(r"-?[\d.]+", attributes.get("transform", ""))
            x, y = (matrix[4], matrix[5]) if len(matrix) == 6 else (attributes["x"], attributes["y"])
            content = unescape(body.split(">", 1)[1].strip("\n\t"))
            out.append("text\t%s\t%s\t%s\t%s\t%s" % (s.get("fill", "none"), s.get("font-weight", "normal"),
                                                    round(float(s.get("font-size", "0"))), points(x + "," + y),
                                                    content))
    return out


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    lines = walk(data) + draw(sys.argv[1])
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
