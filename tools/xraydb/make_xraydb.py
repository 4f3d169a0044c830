#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates resources/XrayDataBase2.txt, the X-ray reference table compiled into skedra.

Usage (from the repository root; needs Debian's python3-xraydb):
    /usr/bin/python3 tools/xraydb/make_xraydb.py > resources/XrayDataBase2.txt

The build never runs this script: its output is committed. The values come from
the tables shipped with python3-xraydb: Elam, Ravel and Sieber (atomic weights,
absorption edges, fluorescence yields, jump ratios, emission lines and their
relative intensities, mass attenuation coefficients).

Layout of a row (field index: content), which the program relies on:
    0 symbol, 1 atomic number, 2 atomic weight,
    3+4k, 4+4k, 5+4k, 6+4k for k = 0..4 (K, L1, L2, L3, M1):
        edge energy (keV), jump ratio, mu 0.1 % below and above the edge (cm2/g),
    23, 24 unused,
    25..31 Ka2, Ka1, Kb1, La2, La1, Lb1, Lb2,15 line energies (eV),
    32..34 unused,
    35..38 fluorescence yields of K, L1, L2, L3,
    39..90 energy (eV) and relative intensity of each emission line in LINES.
"=" stands where the tables have no value. Rows starting with "#" are comments;
the one with "IDLINE" in its second field names the columns the program reads
by tag.
"""

import math
import sys

import xraydb

FIELDS = 91
EDGES = ["K", "L1", "L2", "L3", "M1"]
TAGGED_EDGES = ["K", "L1", "L2", "L3"]
FIXED_LINES = ["Ka2", "Ka1", "Kb1", "La2", "La1", "Lb1", "Lb2,15"]
# (shell, line name in the tag, line name in the tables)
LINES = (
    [("K", n, n) for n in ["Ka3", "Ka2", "Ka1", "Kb3", "Kb1", "Kb5", "Kb2", "Kb4"]]
    + [("L1", n, n) for n in ["Lb4", "Lb3", "Lg2", "Lg3"]]
    + [("L2", n, n) for n in ["Ln", "Lb1", "Lg1", "Lg6"]]
    + [("L3", "Ll", "Ll"), ("L3", "La2", "La2"), ("L3", "La1", "La1"),
       ("L3", "Lb6", "Lb6"), ("L3", "Lb215", "Lb2,15"), ("L3", "Lb5", "Lb5")]
    + [("M", n, n) for n in ["Mg", "Mz", "Mb", "Ma"]]
)
LAST_Z = 98  # the tables end at californium


def num(value):
    """A positive finite number as text, otherwise the missing-value mark."""
    if value is None:
        return "="
    value = float(value)
    if not math.isfinite(value) or value <= 0:
        return "="
    return "%.10g" % value



def mu(symbol, energy):
    try:
        return float(xraydb.mu_elam(symbol, energy))
    except Exception:  # outside the tables' energy range
        return None


def tag_row():
    tags = ["#"] * FIELDS
    tags[1] = "IDLINE"
    for k, edge in enumerate(TAGGED_EDGES):
        tags[3 + 4 * k] = "AE-" + edge
        tags[35 + k] = "w-" + edge
    for n, (shell, name, _) in enumerate(LINES):
        tags[39 + 2 * n] = "E-%s-%s" % (shell, name)
        tags[40 + 2 * n] = "Rate-%s-%s" % (shell, name)
    return tags


def element_row(z):
    symbol = xraydb.atomic_symbol(z)
    edges = xraydb.xray_edges(symbol)
    lines = xraydb.xray_lines(symbol)
    row = ["="] * FIELDS
    row[0] = symbol
    row[1] = str(z)
    row[2] = num(xraydb.atomic_mass(symbol))
    for k, name in enumerate(EDGES):
        edge = edges.get(name)
        if edge is None:
            continue
        row[3 + 4 * k] = num(edge.energy / 1000.0)
        row[4 + 4 * k] = num(edge.jump_ratio)
        # 0.1 % either side of the edge; where the tables show no jump (edges
        # below their energy range) the values would be extrapolations: left out.
        below = mu(symbol, edge.energy * (1 - 1e-3))
        above = mu(symbol, edge.energy * (1 + 1e-3))
        if below is not None and above is not None and above > below:
            row[5 + 4 * k] = num(float("%.5g" % below))
            row[6 + 4 * k] = num(float("%.5g" % above))
    for j, name in enumerate(FIXED_LINES):
        line = lines.get(name)
        row[25 + j] = num(line.energy if line else None)
    for k, name in enumerate(TAGGED_EDGES):
        edge = edges.get(name)
        row[35 + k] = num(edge.fyield if edge else None)
    for n, (shell, _, source) in enumerate(LINES):
        line = lines.get(source)
        if line is None:
            continue
        if shell != "M" and line.initial_level != shell:
            sys.exit("%s %s: initial level %s, expected %s"
                     % (symbol, source, line.initial_level, shell))
        row[39 + 2 * n] = num(line.energy)
        row[40 + 2 * n] = num(line.intensity)
    return row


def main():
    out = sys.stdout
    out.write("#,Skedra X-ray reference data. Generated file: do not edit by hand.\n")
    out.write("#,Sources: Elam/Ravel/Sieber tables as shipped by python3-xraydb (%s).\n"
              % xraydb.get_xraydb().get_version().replace(",", ";"))
    out.write("#,Regenerate: /usr/bin/python3 tools/xraydb/make_xraydb.py"
              " > resources/XrayDataBase2.txt\n")
    out.write("#,Edges in keV; line energies in eV; mu in cm2/g; '=' marks a missing value.\n")
    out.write(",".join(["#"] + [str(i) for i in range(1, FIELDS)]) + "\n")
    out.write(",".join(tag_row()) + "\n")
    for z in range(1, LAST_Z + 1):
        out.write(",".join(element_row(z)) + "\n")


if __name__ == "__main__":
    main()
