#!/usr/bin/env python3
"""Independent reader for the workbook tests: checks a written .xls with xlrd (and the
compound document around it with a structural walk of its own), then prints "ok" or
the problems, one per line, and exits 0 only when there were none.

  read_xls.py check  BOOK.xls EXPECTED.tsv   compare with the expected cells
  read_xls.py stream FILE NAME OUT           copy stream NAME of compound FILE to OUT

EXPECTED.tsv, UTF-8, one item per line, fields separated by TAB; backslash escapes
\\\\, \\t, \\n and \\r in texts:
  sheet  NAME
  size   ROWS COLUMNS             (rows and columns up to the last non-empty cell)
  merge  ROW COLUMN ROWSPAN COLUMNSPAN
  cell   ROW COLUMN number|text TEXT
Number cells must hold the value of TEXT and show TEXT (without surrounding blanks)
through their number format; text cells must hold TEXT exactly. Every non-empty cell
of the sheet must be listed.
"""
import io
import re
import struct
import sys

try:
    import xlrd
    from xlrd import compdoc
except ImportError:
    print("xlrd is missing: install the Debian package python3-xlrd")
    sys.exit(2)

FREE, END, FATSECT, DIFSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC


def check_compound(mem):
    """Problems of the compound document's structure (512-byte sectors)."""
    problems = []
    if mem[:8] != b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1":
        return ["not a compound document"]
    (minor, major, order, shift, mini_shift) = struct.unpack_from("<HHHHH", mem, 24)
    (dir_count, fat_count, first_dir, _, cutoff, first_minifat, minifat_count,
     first_difat, difat_count) = struct.unpack_from("<9I", mem, 40)
    if (major, order, shift, mini_shift) != (3, 0xFFFE, 9, 6):
        problems.append("header: version/byte order/sector sizes %r" % ((major, order, shift, mini_shift),))
    if dir_count != 0 or cutoff != 4096:
        problems.append("header: directory sector count %d, cutoff %d" % (dir_count, cutoff))
    if (len(mem) - 512) % 512:
        problems.append("file size %d is not whole sectors" % len(mem))
    sectors = (len(mem) - 512) // 512

    def sector(i):
        return mem[512 + 512 * i: 1024 + 512 * i]

    difat = list(struct.unpack_from("<109I", mem, 76))
    next_difat, seen_difat, difat_sectors = first_difat, 0, []
    while next_difat not in (END, FREE):
        if next_difat >= sectors or seen_difat > difat_count:
            problems.append("DIFAT chain runs off")
            break
        difat_sectors.append(next_difat)
        entries = struct.unpack("<128I", sector(next_difat))
        difat.extend(entries[:127])
        next_difat = entries[127]
        seen_difat += 1
    if seen_difat != difat_count:
        problems.append("DIFAT sectors: header says %d, chain has %d" % (difat_count, seen_difat))
    fat_sectors = difat[:fat_count]
    if any(s != FREE for s in difat[fat_count:]):
        problems.append("DIFAT lists more than %d FAT sectors" % fat_count)
    fat = []
    for s in fat_sectors:
        if s >= sectors:
            problems.append("FAT sector %d outside the file" % s)
            return problems
        fat.extend(struct.unpack("<128I", sector(s)))
    if len(fat) < sectors:
        problems.append("FAT covers %d of %d sectors" % (len(fat), sectors))
        return problems
    if any(v != FREE for v in fat[sectors:]):
        problems.append("FAT marks sectors beyond the end of the file")
    for s in fat_sectors:
        if fat[s] != FATSECT:
            problems.append("FAT sector %d not marked as such" % s)
    for s in difat_sectors:
        if fat[s] != DIFSECT:
            problems.append("DIFAT sector %d not marked as such" % s)
    if fat[:sectors].count(FATSECT) != fat_count or fat[:sectors].count(DIFSECT) != difat_count:
        problems.append("stray FAT/DIFAT marks")

    owner = {}

    def chain(start, what):
        result, s = [], start
        while s != END:
            if s >= sectors or s in owner:
                problems.append("%s: bad or shared sector %d" % (what, s))
                return result
            owner[s] = what
            result.append(s)
            s = fat[s]
        return result

    directory = b"".join(sector(s) for s in chain(first_dir, "directory"))
    for k in range(len(directory) // 128):
        entry = directory[128 * k: 128 * (k + 1)]
        kind = entry[66]
        start, size = struct.unpack_from("<II", entry, 116)
        if kind == 2 and size >= 4096:
            got = chain(start, "stream %d" % k)
            if len(got) != (size + 511) // 512:
                problems.append("stream %d: %d sectors for %d bytes" % (k, len(got), size))
    if first_minifat != END or minifat_count:
        problems.append("unexpected mini allocation table")
    for s in range(sectors):
        if fat[s] not in (FREE, FATSECT, DIFSECT) and s not in owner:
            problems.append("sector %d in use by nothing" % s)
            break
    return problems


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), text)


def render(value, code):
    """The text a spreadsheet shows for value under the number format codes this
    program writes; None for codes outside that set."""
    if code == "General":
        return None
    sections = code.split(";")
    section, sign = sections[0], ""
    if value < 0:
        if len(sections) > 1:
            section = sections[1]
        else:
            sign = "-"
        value = -value
    m = re.fullmatch(r"([+-]?)(#|0+)(?:(\.)(0*))?(?:([Ee])([+-])(0+))?", section)
    if not m:
        return None
    literal, integer, point, decimals, letter, exp_sign, exp_zeros = m.groups()
    decimals = len(decimals or "")
    if letter:
        mantissa, exponent = ("%.*e" % (decimals, value)).split("e")
        exponent = int(exponent)
        shown = ("-" if exponent < 0 else ("+" if exp_sign == "+" else "")) + "%0*d" % (len(exp_zeros), abs(exponent))
        if point and decimals == 0:
            mantissa += "."
        return sign + literal + mantissa + letter + shown
    text = "%.*f" % (decimals, value)
    whole, _, fraction = text.partition(".")
    if integer == "#" and whole == "0":
        whole = ""
    elif integer != "#":
        whole = whole.zfill(len(integer))
    return sign + literal + whole + ("." + fraction if point else "")


def check(book_path, expected_path):
    problems = []
    with open(book_path, "rb") as f:
        mem = f.read()
    problems += check_compound(mem)
    log = io.StringIO()
    book = xlrd.open_workbook(file_contents=mem, formatting_info=True, logfile=log)
    if log.getvalue().strip():
        problems.append("xlrd complained: " + log.getvalue().strip().replace("\n", " | "))
    if book.nsheets != 1:
        problems.append("%d sheets" % book.nsheets)
    sheet = book.sheet_by_index(0)
    expected_cells, merges = {}, set()
    with open(expected_path, encoding="utf-8", newline="\n") as f:
        for line in f.read().split("\n"):
            if not line:
                continue
            fields = line.split("\t")
            if fields[0] == "sheet" and sheet.name != unescape(fields[1]):
                problems.append("sheet name %r" % sheet.name)
            elif fields[0] == "size" and (sheet.nrows, sheet.ncols) != (int(fields[1]), int(fields[2])):
                problems.append("size %d x %d, expected %s x %s" % (sheet.nrows, sheet.ncols, fields[1], fields[2]))
            elif fields[0] == "merge":
                r, c, rs, cs = map(int, fields[1:5])
                merges.add((r, r + rs, c, c + cs))
            elif fields[0] == "cell":
                expected_cells[(int(fields[1]), int(fields[2]))] = (fields[3], unescape(fields[4]))
    if set(sheet.merged_cells) != merges:
        problems.append("merged %r, expected %r" % (sorted(sheet.merged_cells), sorted(merges)))
    seen = 0
    for r in range(sheet.nrows):
        types, values = sheet.row_types(r), sheet.row_values(r)
        for c in range(len(types)):
            if types[c] in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                continue
            seen += 1
            where = xlrd.cellname(r, c)
            if (r, c) not in expected_cells:
                problems.append("%s: unexpected %r" % (where, values[c]))
                continue
            kind, text = expected_cells[(r, c)]
            if kind == "text":
                if types[c] != xlrd.XL_CELL_TEXT or values[c] != text:
                    problems.append("%s: %r (type %d), expected text %r" % (where, values[c], types[c], text))
                continue
            if types[c] != xlrd.XL_CELL_NUMBER or values[c] != float(text):
                problems.append("%s: %r (type %d), expected number %r" % (where, values[c], types[c], text))
                continue
            code = book.format_map[book.xf_list[sheet.cell_xf_index(r, c)].format_key].format_str
            shown = render(values[c], code)
            wanted = text.strip(" ")
            if float(wanted) == 0:
                wanted = wanted.lstrip("-")  # no negative zero in a spreadsheet
            if shown is not None and shown != wanted:
                problems.append("%s: shows %r through %r, expected %r" % (where, shown, code, wanted))
            if shown is None and re.fullmatch(r"[+-]?\d*\.?\d*", wanted):
                problems.append("%s: plain number %r without a format that shows it" % (where, wanted))
    if seen != len(expected_cells):
        problems.append("%d cells read, %d expected" % (seen, len(expected_cells)))
    return problems


def stream(path, name, out):
    with open(path, "rb") as f:
        mem = f.read()
    problems = check_compound(mem)
    log = io.StringIO()
    data = compdoc.CompDoc(mem, logfile=log).get_named_stream(name)
    if log.getvalue().strip():
        problems.append("xlrd complained: " + log.getvalue().strip().replace("\n", " | "))
    if data is None:
        problems.append("no stream %r" % name)
    else:
        with open(out, "wb") as f:
            f.write(data)
    return problems


def main():
    try:
        if sys.argv[1] == "check":
            problems = check(sys.argv[2], sys.argv[3])
        else:
            problems = stream(sys.argv[2], sys.argv[3], sys.argv[4])
    except Exception as error:  # a reader's exception is a finding, not a crash of the test
        problems = ["%s: %s" % (type(error).__name__, error)]
    for p in problems[:30]:
        print(p)
    if len(problems) > 30:
        print("... and %d more" % (len(problems) - 30))
    if not problems:
        print("ok")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
