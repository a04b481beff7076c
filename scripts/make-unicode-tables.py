#!/usr/bin/env python3
"""Writes the generated tables of src/text from Python's own Unicode data.

  src/text/UnicodeTables.inc  simple case mappings and letter/case classes
  src/text/CharsetTables.inc  the upper halves of the 8-bit character sets

Regenerate (from the repository's top folder) with

  python3 scripts/make-unicode-tables.py

and commit both files. The Unicode version is that of the Python that runs the
script (unicodedata.unidata_version); it is written into the header of each
file, so a change of version shows up in the diff.
"""

import codecs
import os
import sys
import unicodedata

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX = 0x110000
COMBINING = ("Mn", "Mc", "Me")


def simple_mapping(c, full, kind):
    """The simple (1:1) mapping of one character.

    Python exposes only the full mappings (with SpecialCasing.txt). Where a full
    mapping is one character it is the simple one too. Where it is longer, the
    simple one is the titlecase letter (Lt) that lowers to `c` for upper- and
    titlecasing (Greek alpha/eta/omega with ypogegrammeni), the first character
    for lowercasing when the rest are combining marks (capital I with dot
    above), and otherwise none: ß, the ligatures and the Greek letters with
    several accents keep themselves, as in UnicodeData.txt.
    """
    mapped = full(c)
    if len(mapped) == 1:
        return mapped
    if kind == "lower":
        if all(unicodedata.category(m) in COMBINING for m in mapped[1:]):
            return mapped[0]
        return c
    return TITLECASE_LOWERING_TO.get(c, c)


TITLECASE_LOWERING_TO = {}
for n in range(MAX):
    ch = chr(n)
    if unicodedata.category(ch) == "Lt" and len(ch.lower()) == 1 and ch.lower() != ch:
        TITLECASE_LOWERING_TO[ch.lower()] = ch


def mapping_table(kind):
    full = {"lower": str.lower, "upper": str.upper, "title": str.title}[kind]
    table = {}
    for n in range(MAX):
        if 0xD800 <= n <= 0xDFFF:
            continue
        mapped = simple_mapping(chr(n), full, kind)
        if mapped != chr(n):
            table[n] = ord(mapped) - n
    return table


def runs(keys, value_of, allow_stride):
    """Groups sorted code points into (first, last, value, stride) runs.

    A run of stride 2 skips every other code point; it is only made when the
    skipped ones are not in the table, so that runs never interleave and a
    binary search on `first` finds the one run that may hold a character.
    """
    result = []
    present = set(keys)
    for n in sorted(keys):
        value = value_of(n)
        if result:
            first, last, v, stride = result[-1]
            if v == value:
                if n == last + 1 and stride == 1:
                    result[-1] = (first, n, v, 1)
                    continue
                if (allow_stride and n == last + 2 and last + 1 not in present
                        and (first == last or stride == 2)):
                    result[-1] = (first, n, v, 2)
                    continue
        result.append((n, n, value, 1))
    return result


def emit_lines(items, per_line, indent="    "):
    lines = []
    for i in range(0, len(items), per_line):
        lines.append(indent + " ".join(items[i:i + per_line]))
    return "\n".join(lines)


def case_ranges(name, kind):
    table = mapping_table(kind)
    result = runs(list(table), lambda n: table[n], allow_stride=True)
    items = ["{0x%04X, 0x%04X, %d, %d}," % r for r in result]
    return "constexpr CaseRange %s[] = {\n%s\n};\n" % (name, emit_lines(items, 3)), len(result)


def class_ranges(name, categories, allow_stride):
    keys = [n for n in range(MAX) if unicodedata.category(chr(n)) in categories]
    result = runs(keys, lambda n: 0, allow_stride)
    items = ["{0x%04X, 0x%04X, %d}," % (f, l, s) for f, l, _, s in result]
    return "constexpr ClassRange %s[] = {\n%s\n};\n" % (name, emit_lines(items, 4)), len(result)


def check_known_values():
    """UnicodeData.txt values that the derivation above must reproduce."""
    lower, upper, title = (mapping_table(k) for k in ("lower", "upper", "title"))
    expect = [
        (upper, 0xDF, 0),          # ß has no simple uppercase
        (lower, 0x1E9E, 0xDF - 0x1E9E),
        (lower, 0x130, 0x69 - 0x130),
        (upper, 0x1F80, 8), (title, 0x1F80, 8), (upper, 0x1F88, 0),
        (upper, 0x1FB3, 9), (upper, 0x1FBC, 0),
        (upper, 0x3C2, 0x3A3 - 0x3C2), (upper, 0x1C4, 0), (title, 0x1C4, 1),
        (title, 0x1C6, -1), (upper, 0x1C5, -1), (lower, 0x1C5, 1),
        (upper, 0xFB00, 0), (upper, 0x149, 0),
    ]
    for table, n, delta in expect:
        got = table.get(n, 0)
        if got != delta:
            sys.exit("U+%04X: expected delta %d, derived %d" % (n, delta, got))


def write_unicode_tables():
    check_known_values()
    parts = []
    lower, n_lower = case_ranges("LowerRanges", "lower")
    upper, n_upper = case_ranges("UpperRanges", "upper")
    title, n_title = case_ranges("TitleRanges", "title")
    letters, n_letters = class_ranges("LetterRanges", {"Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me"}, False)
    uppers, n_uppers = class_ranges("UpperClassRanges", {"Lu", "Lt"}, True)
    lowers, n_lowers = class_ranges("LowerClassRanges", {"Ll"}, True)
    header = (
        "// Generated by scripts/make-unicode-tables.py from Unicode %s (Python %d.%d's\n"
        "// unicodedata); do not edit. Regenerate with\n"
        "//   python3 scripts/make-unicode-tables.py\n"
        "//\n"
        "// Case ranges are {first, last, delta, stride}: every stride-th character\n"
        "// from first to last maps to itself plus delta. Class ranges are\n"
        "// {first, last, stride}. Both are sorted and never interleave.\n"
        "// Runs: lower %d, upper %d, title %d; letters %d, Lu/Lt %d, Ll %d.\n"
        % (unicodedata.unidata_version, sys.version_info[0], sys.version_info[1], n_lower,
           n_upper, n_title, n_letters, n_uppers, n_lowers))
    parts = [header, "// Simple lowercase mappings (UnicodeData.txt field 13).", lower,
             "// Simple uppercase mappings (field 12).", upper,
             "// Simple titlecase mappings (field 14).", title,
             "// General categories L* and M*: letters and the marks that belong to them.", letters,
             "// General categories Lu and Lt.", uppers,
             "// General category Ll.", lowers]
    with open(os.path.join(TOP, "src/text/UnicodeTables.inc"), "w", encoding="ascii") as f:
        f.write("\n".join(parts))


# Every table's accepted names, written as Hunspell's SET line may give them;
# the code compares them lowercased, without '-', '_' and blanks.
# ISO 8859-12 was never published; ISCII has no codec in Python and is left out.
CHARSETS = [("iso8859_%d" % n, "Iso8859_%d" % n, ["ISO8859-%d" % n]) for n in range(1, 17)
            if n != 12] + [
    ("koi8_r", "Koi8R", ["KOI8-R"]),
    ("koi8_u", "Koi8U", ["KOI8-U"]),
    ("cp1250", "Cp1250", ["cp1250", "windows-1250", "microsoft-cp1250"]),
    ("cp1251", "Cp1251", ["microsoft-cp1251", "cp1251", "windows-1251"]),
    ("tis_620", "Tis620", ["TIS620-2533", "TIS-620"]),
]


def normalise(name):
    return "".join(ch for ch in name.lower() if ch not in "-_ ")


def write_charset_tables():
    parts = [
        "// Generated by scripts/make-unicode-tables.py from Python %d.%d's codecs; do\n"
        "// not edit. Regenerate with\n"
        "//   python3 scripts/make-unicode-tables.py\n"
        "//\n"
        "// The characters of bytes 0x80..0xFF of each 8-bit character set (bytes\n"
        "// below 0x80 are ASCII in all of them); 0 where the set leaves a byte\n"
        "// undefined. Code page 1252 lives in Cp1252.cpp.\n" % sys.version_info[:2]]
    entries = []
    for codec, ident, names in CHARSETS:
        ident = "High" + ident
        values = []
        for b in range(256):
            try:
                s = bytes([b]).decode(codec)
            except UnicodeDecodeError:
                s = None
            if b < 0x80:
                assert s == chr(b), (codec, b)
                continue
            values.append("0x%04X," % ord(s) if s is not None else "0,")
        parts.append("constexpr char32_t %s[128] = {\n%s\n};\n" % (ident, emit_lines(values, 8)))
        for name in names:
            entries.append('    {"%s", %s},' % (normalise(name), ident))
    parts.append("constexpr CharsetTable CharsetTables[] = {\n%s\n};\n" % "\n".join(entries))
    with open(os.path.join(TOP, "src/text/CharsetTables.inc"), "w", encoding="ascii") as f:
        f.write("\n".join(parts))


if __name__ == "__main__":
    write_unicode_tables()
    write_charset_tables()
