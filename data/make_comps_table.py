#!/usr/bin/env python3
"""Writes CompsTable.csv, the component reference a new installation gets.

Rerun after changing the rows below:  python3 data/make_comps_table.py
The file is code page 1251 with CR LF line ends, in exactly the form the plug-in writes it back, so a
save without edits leaves it byte for byte unchanged.

K is the flame-ionisation response of a hydrocarbon relative to methane, from its molar mass M and its
carbon number nC:  K = (M / M(CH4)) / nC, with the standard atomic weights C 12.011 and H 1.008.
Group 0 holds the saturated hydrocarbons, group 1 the unsaturated ones; the total-hydrocarbon peak
"углеводороды" is in group 2, which enters no sum.
"""
import pathlib
import re

CARBON, HYDROGEN = 12.011, 1.008
METHANE = CARBON + 4 * HYDROGEN  # 16.043

SATURATED, UNSATURATED, NO_SUM = 0, 1, 2

# Name as chemists write it, formula, group.
ROWS = [
    ("метан", "CH4", SATURATED),
    ("этан", "C2H6", SATURATED),
    ("этилен", "C2H4", UNSATURATED),
    ("пропан", "C3H8", SATURATED),
    ("пропилен", "C3H6", UNSATURATED),
    ("ацетилен", "C2H2", UNSATURATED),
    ("изобутан", "C4H10", SATURATED),
    ("н-бутан", "C4H10", SATURATED),
    ("бутен-1", "C4H8", UNSATURATED),
    ("изобутилен", "C4H8", UNSATURATED),
    ("цис-бутен-2", "C4H8", UNSATURATED),
    ("транс-бутен-2", "C4H8", UNSATURATED),
    ("бутадиен-1,3", "C4H6", UNSATURATED),
    ("изопентан", "C5H12", SATURATED),
    ("н-пентан", "C5H12", SATURATED),
    ("пентен-1", "C5H10", UNSATURATED),
    ("цис-пентен-2", "C5H10", UNSATURATED),
    ("транс-пентен-2", "C5H10", UNSATURATED),
    ("н-гексан", "C6H14", SATURATED),
]
TOTAL = ("углеводороды", "CxHy", 1.0, NO_SUM)


def coefficient(formula):
    carbons, hydrogens = (int(n or 1) for n in re.fullmatch(r"C(\d*)H(\d+)", formula).groups())
    molar_mass = carbons * CARBON + hydrogens * HYDROGEN
    return molar_mass / METHANE / carbons


def k_text(k):
    return ("%.6f" % k).replace(".", ",")


def main():
    rows = [(name, formula, coefficient(formula), group) for name, formula, group in ROWS] + [TOTAL]
    lines = ["ID;Name;AltName;K;group"]
    lines += ["%d;%s;%s;%s;%d" % (i, name, formula, k_text(k), group)
              for i, (name, formula, k, group) in enumerate(rows, start=1)]
    text = "".join(line + "\r\n" for line in lines)
    target = pathlib.Path(__file__).with_name("CompsTable.csv")
    target.write_bytes(text.encode("cp1251"))


if __name__ == "__main__":
    main()
