#!/usr/bin/env python3
"""Writes CaseTables.inc: the Unicode 5.1 case mappings and accent-free forms of the Basic
Multilingual Plane, from the files of Debian's unicode-data package.

    python3 platform/text/make_case_tables.py > platform/text/CaseTables.inc

The installed files describe a later Unicode version; only characters assigned by Unicode 5.1
(DerivedAge.txt) are kept, on both sides of a mapping, so a mapping whose target came later is
left out (Georgian Mkhedruli has no capitals and Cherokee no small letters, as in 5.1).

Tables, all indexed by one UTF-16 unit:
  fold, lower, upper, title  simple mappings (CaseFolding.txt status C and S; UnicodeData.txt
                             fields 12-14, title falling back to upper), one unit in, one out;
  unaccent                   the full canonical and compatibility decomposition with the marks that
                             stack on their base (canonical combining class not 0: accents, Hebrew and
                             Arabic points, nukta, virama) removed and the letters in EXTRA_BASES
                             replaced by their bases; such a mark on its own becomes nothing. Vowel
                             signs of combining class 0 (Devanagari and the like) are letters, kept.
Hangul syllables keep their form: they carry no marks and their decomposition is arithmetic.
"""

import os
import sys

UNICODE_DIR = os.environ.get("UNICODE_DIR", "/usr/share/unicode")
MAX_AGE = (5, 1)
SHIFT = 6  # 64 units per block: the second level of every table
BLOCK = 1 << SHIFT

# Letters that have no decomposition but an obvious base.
EXTRA_BASES = {
    0x00F8: "o", 0x00D8: "O",    # ø Ø
    0x0111: "d", 0x0110: "D",    # đ Đ
    0x0142: "l", 0x0141: "L",    # ł Ł
    0x0127: "h", 0x0126: "H",    # ħ Ħ
    0x0167: "t", 0x0166: "T",    # ŧ Ŧ
    0x00E6: "ae", 0x00C6: "AE",  # æ Æ
    0x0153: "oe", 0x0152: "OE",  # œ Œ
    0x00DF: "ss", 0x1E9E: "SS",  # ß ẞ
    0x00FE: "th", 0x00DE: "TH",  # þ Þ
}


def data_lines(name):
    with open(os.path.join(UNICODE_DIR, name), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def data_version(name):
    with open(os.path.join(UNICODE_DIR, name), encoding="utf-8") as f:
        first = f.readline().strip()  # "# DerivedAge-15.0.0.txt"
    return first.lstrip("# ").rsplit("-", 1)[-1].removesuffix(".txt")


def read_assigned():
    assigned = set()
    for fields in data_lines("DerivedAge.txt"):
        age = tuple(int(part) for part in fields[1].split("."))
        if age > MAX_AGE:
            continue
        first, _, last = fields[0].partition("..")
        for c in range(int(first, 16), int(last or first, 16) + 1):
            if c < 0x10000:
                assigned.add(c)
    return assigned


def read_unicode_data(assigned):
    combining, decomposition, upper, lower, title = {}, {}, {}, {}, {}
    for fields in data_lines("UnicodeData.txt"):
        c = int(fields[0], 16)
        if c not in assigned:
            continue
        combining[c] = int(fields[3])
        if fields[5]:
            parts = fields[5].split()
            if parts[0].startswith("<"):
                parts = parts[1:]
            decomposition[c] = [int(p, 16) for p in parts]
        for table, field in ((upper, fields[12]), (lower, fields[13]), (title, fields[14])):
            if field:
                table[c] = int(field, 16)
    for c, u in upper.items():
        title.setdefault(c, u)
    return combining, decomposition, upper, lower, title


def read_folding():
    fold = {}
    for fields in data_lines("CaseFolding.txt"):
        if fields[1] in ("C", "S"):
            fold[int(fields[0], 16)] = int(fields[2], 16)
    return fold


def keep_assigned(mapping, assigned):
    return {c: t for c, t in mapping.items() if c in assigned and t in assigned and t != c}


def unaccent_forms(combining, decomposition, assigned):
    def expand(c):
        if c in EXTRA_BASES:
            return [ord(ch) for ch in EXTRA_BASES[c]]
        if combining.get(c, 0) != 0:
            return []
        if c in decomposition:
            return [u for part in decomposition[c] for u in expand(part)]
        return [c]

    forms = {}
    for c in sorted(combining):
        if c in decomposition or c in EXTRA_BASES or combining[c] != 0:
            form = expand(c)
            if all(u in assigned for u in form) and form != [c]:
                forms[c] = form
    return forms


class TwoLevel:
    """A first-level array of block numbers over shared, deduplicated blocks of BLOCK values."""

    def __init__(self, blocks, index):
        self.blocks, self.index = blocks, index

    def add(self, values):
        table = []
        for start in range(0, 0x10000, BLOCK):
            block = tuple(values[start:start + BLOCK])
            if block not in self.index:
                self.index[block] = len(self.blocks)
                self.blocks.append(block)
            table.append(self.index[block])
        return table


def c_array(decl, values, per_line=16):
    rows = [", ".join(str(v) for v in values[i:i + per_line]) for i in range(0, len(values), per_line)]
    return decl + " = {\n    " + ",\n    ".join(rows) + ",\n};\n"


def c_blocks(decl, blocks):
    body = ",\n".join("    {" + ", ".join(str(v) for v in block) + "}" for block in blocks)
    return decl + " = {\n" + body + ",\n};\n"


def index_type(count):
    return "uint8_t" if count <= 0x100 else "uint16_t"


def main():
    assigned = read_assigned()
    combining, decomposition, upper, lower, title = read_unicode_data(assigned)
    mappings = {
        "Fold": keep_assigned(read_folding(), assigned),
        "Lower": keep_assigned(lower, assigned),
        "Upper": keep_assigned(upper, assigned),
        "Title": keep_assigned(title, assigned),
    }

    # Case tables hold the difference to add (mod 2^16): runs of letters share blocks.
    case = TwoLevel([], {})
    case_index = {}
    for name, mapping in mappings.items():
        deltas = [(mapping.get(c, c) - c) & 0xFFFF for c in range(0x10000)]
        case_index[name] = case.add(deltas)

    # Unaccent blocks hold offsets into kUnaccentForms, where each form is its length followed by its
    # units; offset 0 means the unit stays as it is.
    forms = unaccent_forms(combining, decomposition, assigned)
    pool, offsets, offset_of = [0], [0] * 0x10000, {}
    for c, form in forms.items():
        key = tuple(form)
        if key not in offset_of:
            offset_of[key] = len(pool)
            pool += [len(form)] + form
        offsets[c] = offset_of[key]
    assert len(pool) <= 0x10000, "unaccent forms exceed 16-bit offsets"
    unaccent = TwoLevel([], {})
    unaccent_index = unaccent.add(offsets)

    version = data_version("DerivedAge.txt")
    out = sys.stdout
    out.write(
        "// Generated by platform/text/make_case_tables.py from Debian's unicode-data files (Unicode "
        + version + "),\n"
        "// keeping the characters assigned by Unicode 5.1. Do not edit; regenerate with\n"
        "//   python3 platform/text/make_case_tables.py > platform/text/CaseTables.inc\n"
        "// Mapped characters: " + ", ".join(f"{n.lower()} {len(m)}" for n, m in mappings.items())
        + f", unaccent {len(forms)}.\n\n")
    out.write(f"constexpr int kBlockShift = {SHIFT};\n")
    out.write(f"constexpr unsigned kBlockMask = {BLOCK - 1};\n\n")
    for name in mappings:
        out.write(c_array(f"constexpr {index_type(len(case.blocks))} k{name}Index[{len(case_index[name])}]",
                          case_index[name]))
    out.write("\n// Differences to add, modulo 2^16.\n")
    out.write(c_blocks(f"constexpr uint16_t kCaseBlocks[{len(case.blocks)}][{BLOCK}]", case.blocks))
    out.write("\n" + c_array(f"constexpr {index_type(len(unaccent.blocks))} kUnaccentIndex[{len(unaccent_index)}]",
                             unaccent_index))
    out.write("\n// Offsets into kUnaccentForms; 0 keeps the unit.\n")
    out.write(c_blocks(f"constexpr uint16_t kUnaccentBlocks[{len(unaccent.blocks)}][{BLOCK}]", unaccent.blocks))
    out.write("\n// Each form: its length, then its units.\n")
    out.write(c_array(f"constexpr char16_t kUnaccentForms[{len(pool)}]", pool))


if __name__ == "__main__":
    main()
