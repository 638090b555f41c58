#!/usr/bin/env python3
"""Writes the four conversion tables of libduoma as C++ sources in convert/src/.

Code points come from glibc's converters through the iconv command (CP936 for GB2312, CP950
for Big5), except for Big5's symbol block C6A1-C7FC, which CP950 leaves to private use: its kana,
Cyrillic letters and numbered symbols come from Python's big5 codec. Simplified/traditional
pairs come from opencc's character dictionaries, dumped to text with opencc_dict. The output
depends only on those inputs, so every run writes the same files. The script checks a set of
known conversions and exits non-zero if any comes out wrong.
"""

import argparse
import os
import subprocess
import sys
import tempfile

GB_LEADS = range(0xA1, 0xF8)
GB_TRAILS = range(0xA1, 0xFF)
BIG5_LEADS = range(0xA1, 0xFF)
BIG5_TRAILS = [*range(0x40, 0x7F), *range(0xA1, 0xFF)]

GB_CELLS = [(lead, trail) for lead in GB_LEADS for trail in GB_TRAILS]
BIG5_CELLS = [(lead, trail) for lead in BIG5_LEADS for trail in BIG5_TRAILS]

BIG5_BLANK = 0xA140  # ideographic space: what a GB code without a Big5 counterpart becomes
GB_BLANK = 0xA1A1  # and the other way round
REPLACEMENT = 0xFFFD
OPENCC_DIR = "/usr/share/opencc"

# Known conversions the tables must reproduce.
GB_TO_BIG5_CHECKS = {0xB0A1: 0xB0DA, 0xB9FA: 0xB0EA, 0xB7A2: 0xB56F, 0xB9EA: 0xC074,
                     0xCCE5: 0xCA5E, 0xA1A1: 0xA140, 0xAAA1: 0xA140, 0xD6D0: 0xA4A4,
                     0xCEC4: 0xA4E5, 0xA1A9: 0xC6A4, 0xA4A2: 0xC6A6, 0xA5F6: 0xC7B0,
                     0xA7A5: 0xC7B1, 0xA2D9: 0xC7E9, 0xA2CE: 0xC7FC}
BIG5_TO_GB_CHECKS = {0xC5E9: 0xCCE5, 0xA4BA: 0xC4DA, 0xA140: 0xA1A1, 0xA440: 0xD2BB,
                     0xC6A4: 0xA1A9, 0xC6A6: 0xA4A2, 0xC7B0: 0xA5F6, 0xC7B1: 0xA7A5,
                     0xC7E9: 0xA2D9, 0xC7FC: 0xA2CE, 0xC6A1: 0xA1A1}
GB_TO_UNICODE_CHECKS = {0xA1A4: 0x00B7, 0xA1AA: 0x2014, 0xB0A1: 0x554A, 0xD6D0: 0x4E2D,
                        0xAAA1: 0xE000, 0xA2AB: 0xE766}


def fail(message):
    sys.exit(f"make_tables.py: {message}")


def is_private_use(cp):
    return 0xE000 <= cp <= 0xF8FF


def code(cell):
    return cell[0] << 8 | cell[1]


def run_iconv(from_code, to_code, lines):
    """Converts each line separately; a line iconv cannot convert comes back empty."""
    data = b"".join(line + b"\n" for line in lines)
    result = subprocess.run(["iconv", "-c", "-f", from_code, "-t", to_code], input=data,
                            capture_output=True, check=False)
    if result.returncode not in (0, 1):
        fail(f"iconv {from_code} -> {to_code} failed: {result.stderr.decode(errors='replace')}")
    out = result.stdout.split(b"\n")
    if out[-1] != b"" or len(out) - 1 != len(lines):
        fail(f"iconv {from_code} -> {to_code}: {len(out) - 1} lines for {len(lines)}")
    return out[:-1]


def decode(encoding, cells):
    """The code point of each double-byte cell, or None where the encoding has none."""
    points = []
    for line in run_iconv(encoding, "UTF-8", [bytes(cell) for cell in cells]):
        text = line.decode("utf-8")
        # When iconv drops only the lead byte of a bad pair, the trail may survive as ASCII.
        points.append(ord(text) if len(text) == 1 and ord(text) >= 0x80 else None)
    return points


def encode(encoding, chars):
    """The double-byte code of each character, or None where the encoding has none."""
    codes = []
    for line in run_iconv("UTF-8", encoding, [c.encode("utf-8") for c in chars]):
        codes.append(line[0] << 8 | line[1] if len(line) == 2 else None)
    return codes


def load_opencc(name, work_dir):
    """Maps each key of an opencc character dictionary to its list of candidates."""
    text_path = os.path.join(work_dir, name + ".txt")
    subprocess.run(["opencc_dict", "-i", os.path.join(OPENCC_DIR, name + ".ocd2"),
                    "-o", text_path, "-f", "ocd2", "-t", "text"], check=True)
    entries = {}
    with open(text_path, encoding="utf-8") as f:
        for line in f:
            key, _, values = line.rstrip("\n").partition("\t")
            entries[key] = values.split(" ")
    if not entries:
        fail(f"opencc dictionary {name} is empty")
    return entries


def gb_to_unicode_table():
    """Code page 936 for the GB2312 area, with its private-use values for the gaps."""
    # Rows AA-AF are user-defined, numbered from U+E000 row by row.
    private = {(lead, t): 0xE000 + 94 * (lead - 0xAA) + (t - 0xA1)
               for lead in range(0xAA, 0xB0) for t in GB_TRAILS}
    # The gaps of rows A1-A9 and D7FA-D7FE are numbered from U+E766 in code order. Rows A8-A9
    # count their gaps below trail 0xA1 too (rows A1-A7 have a user-defined block there), so
    # the run is walked over whole rows and only the GB2312 cells are kept.
    wide_trails = [t for t in range(0x40, 0xFF) if t != 0x7F]
    wide_cells = [(lead, t) for lead in range(0xA1, 0xAA) for t in wide_trails
                  if lead >= 0xA8 or t >= 0xA1]
    gaps = [cell for cell, cp in zip(wide_cells, decode("CP936", wide_cells)) if cp is None]
    gaps += [(0xD7, t) for t in range(0xFA, 0xFF)]
    private.update((cell, 0xE766 + i) for i, cell in enumerate(gaps))

    # GB18030 shares these values except where it has since given a cell a real character.
    cells = sorted(private)
    for cell, other in zip(cells, decode("GB18030", cells)):
        if other is not None and is_private_use(other) and other != private[cell]:
            fail(f"U+{private[cell]:04X} for {code(cell):04X}, but GB18030 says U+{other:04X}")

    return [private.get(cell, REPLACEMENT) if cp is None else cp
            for cell, cp in zip(GB_CELLS, decode("CP936", GB_CELLS))]


def encoder(encoding, cells, points, usable):
    """Returns a function giving the code of a character among `cells`, or None.

    Only characters some usable cell decodes to count, so every code handed out converts back to
    the same character. Among duplicates glibc's own choice wins, else the lowest code.
    """
    lowest = {}
    for cell, cp in zip(cells, points):
        if usable(cell) and cp != REPLACEMENT and not is_private_use(cp):
            lowest.setdefault(cp, code(cell))
    index = {code(cell): i for i, cell in enumerate(cells)}
    chars = sorted(chr(cp) for cp in lowest)
    codes = {}
    for c, preferred in zip(chars, encode(encoding, chars)):
        if preferred in index and usable(cells[index[preferred]]) \
                and points[index[preferred]] == ord(c):
            codes[c] = preferred
        else:
            codes[c] = lowest[ord(c)]
    return codes.get


def big5_to_unicode_table():
    """Code page 950, with the symbol block C6A1-C7FC taken from Python's big5 codec."""
    points = [REPLACEMENT if cp is None else cp for cp in decode("CP950", BIG5_CELLS)]
    for i, cell in enumerate(BIG5_CELLS):
        if 0xC6A1 <= code(cell) <= 0xC7FC:
            if not is_private_use(points[i]):
                fail(f"CP950 gives {code(cell):04X} U+{points[i]:04X}, expected private use")
            points[i] = ord(bytes(cell).decode("big5"))
    return points


def in_big5_standard_area(cell):
    return cell[0] <= 0xF9


def first_encodable(candidates, lookup):
    for c in candidates:
        result = lookup(c)
        if result is not None:
            return result
    return None


def big5_candidates(c, simplified_to_traditional, taiwan_variants):
    """The character itself, then its traditional forms, then the Taiwan variants of those.

    The variants matter where opencc's traditional form is not the one Big5 encodes, as with
    为 -> 爲 (Big5 has 為) or 众 -> 衆 (Big5 has 眾).
    """
    traditional = simplified_to_traditional.get(c, [])
    variants = [v for t in [*traditional, c] for v in taiwan_variants.get(t, [])]
    return [c, *traditional, *variants]


def gb_to_big5_table(gb_unicode, to_big5, simplified_to_traditional, taiwan_variants):
    table, missing = [], []
    for cell, cp in zip(GB_CELLS, gb_unicode):
        big5 = None
        if cp != REPLACEMENT and not is_private_use(cp):
            candidates = big5_candidates(chr(cp), simplified_to_traditional, taiwan_variants)
            big5 = first_encodable(candidates, to_big5)
        if big5 is None:
            big5 = BIG5_BLANK
            if cell[0] >= 0xB0 and cp != REPLACEMENT and not is_private_use(cp):
                missing.append((code(cell), cp))
        table.append(big5)
    return table, missing


def big5_to_gb_table(big5_unicode, to_gb, traditional_to_simplified):
    table = []
    for cp in big5_unicode:
        gb = None
        if cp != REPLACEMENT and not is_private_use(cp):
            c = chr(cp)
            gb = first_encodable([c, *traditional_to_simplified.get(c, [])], to_gb)
        table.append(GB_BLANK if gb is None else gb)
    return table


def check(name, table, index_of, expected):
    wrong = []
    for source, target in expected.items():
        got = table[index_of(source)]
        if got != target:
            wrong.append(f"{name} {source:04X}: expected {target:04X}, got {got:04X}")
    return wrong


def gb_index(gb):
    return 94 * ((gb >> 8) - 0xA1) + ((gb & 0xFF) - 0xA1)


def big5_index(big5):
    trail = big5 & 0xFF
    return 157 * ((big5 >> 8) - 0xA1) + (trail - 0x40 if trail <= 0x7E else trail - 0x62)


def write_table(path, comment, declaration, values, width, per_line):
    lines = [f"    {', '.join(f'0x{v:0{width}X}' for v in values[i:i + per_line])},"
             for i in range(0, len(values), per_line)]
    text = "\n".join([
        "// Generated by convert/tools/make_tables.py; do not edit.",
        f"// {comment}",
        '#include "tables.h"',
        "",
        "namespace duoma::detail {",
        "",
        "// clang-format off",
        f"{declaration} = {{{{",
        *lines,
        "}};",
        "// clang-format on",
        "",
        "}  // namespace duoma::detail",
        "",
    ])
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def split_bytes(codes):
    return [b for c in codes for b in (c >> 8, c & 0xFF)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default_out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    parser.add_argument("--out-dir", default=os.path.normpath(default_out))
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work_dir:
        st = load_opencc("STCharacters", work_dir)
        ts = load_opencc("TSCharacters", work_dir)
        tw = load_opencc("TWVariants", work_dir)

    gb_unicode = gb_to_unicode_table()
    big5_unicode = big5_to_unicode_table()
    to_big5 = encoder("CP950", BIG5_CELLS, big5_unicode, in_big5_standard_area)
    to_gb = encoder("CP936", GB_CELLS, gb_unicode, lambda cell: True)
    gb_big5, missing = gb_to_big5_table(gb_unicode, to_big5, st, tw)
    big5_gb = big5_to_gb_table(big5_unicode, to_gb, ts)

    errors = check("GB->Big5", gb_big5, gb_index, GB_TO_BIG5_CHECKS)
    errors += check("Big5->GB", big5_gb, big5_index, BIG5_TO_GB_CHECKS)
    errors += check("GB->Unicode", gb_unicode, gb_index, GB_TO_UNICODE_CHECKS)
    hanzi = sum(1 for cell, cp in zip(GB_CELLS, gb_unicode)
                if cell[0] >= 0xB0 and not is_private_use(cp) and cp != REPLACEMENT)
    if hanzi != 6763:
        errors.append(f"{hanzi} GB2312 hanzi decoded, expected 6763")
    if errors:
        fail("wrong conversions:\n  " + "\n  ".join(errors))

    unfilled = sum(1 for cp in gb_unicode if cp == REPLACEMENT)
    print(f"GB->Unicode: {unfilled} cells unfilled")
    print(f"Big5->Unicode: {sum(1 for cp in big5_unicode if cp == REPLACEMENT)} cells unmapped")
    print(f"GB->Big5: {len(missing)} hanzi without a Big5 counterpart"
          + "".join(f"\n  {gb:04X} U+{cp:04X} {chr(cp)}" for gb, cp in missing))
    lost = sum(1 for cp, gb in zip(big5_unicode, big5_gb)
               if gb == GB_BLANK and cp not in (0x3000, REPLACEMENT) and not is_private_use(cp))
    print(f"Big5->GB: {lost} Big5 characters without a GB2312 counterpart")

    out = args.out_dir
    os.makedirs(out, exist_ok=True)
    write_table(os.path.join(out, "table_gb_big5.cpp"), "GB2312 -> Big5, lead byte first.",
                "const std::array<uint8_t, 2 * kGbRows * kGbColumns> kGbToBig5",
                split_bytes(gb_big5), 2, 16)
    write_table(os.path.join(out, "table_big5_gb.cpp"), "Big5 -> GB2312, lead byte first.",
                "const std::array<uint8_t, 2 * kBig5Rows * kBig5Columns> kBig5ToGb",
                split_bytes(big5_gb), 2, 16)
    write_table(os.path.join(out, "table_gb_unicode.cpp"), "GB2312 -> code page 936 code points.",
                "const std::array<uint16_t, kGbRows * kGbColumns> kGbToUnicode",
                gb_unicode, 4, 12)
    write_table(os.path.join(out, "table_big5_unicode.cpp"),
                "Big5 -> code page 950 code points, symbol block C6A1-C7FC filled.",
                "const std::array<uint16_t, kBig5Rows * kBig5Columns> kBig5ToUnicode",
                big5_unicode, 4, 12)


if __name__ == "__main__":
    main()
