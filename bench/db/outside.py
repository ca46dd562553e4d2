#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes the outside data of the database benchmark as CSV files (every field quoted, so that
an empty text stays empty on both engines):

    outside.py DIR

ncm.csv ([001], [002], [003], [059]), sufidos.csv (sim, sufijo, detalle) and catarticulos.csv
(idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp) of
catalog CAT. Articles P-00000 ... P-59999 (those ending in 9 are not in the catalog) spread over
6,000 positions; every 17th position is not in the nomenclator, odd positions have a suffix
group MA (options 01 and 02), every 13th article has a wrong option, every 3rd position is
marked for LAPI, odd articles leave their LAPI blank and every 5th one its goods condition.
"""
import csv
import os
import sys

ARTICLES = 60000
POSITIONS = 6000


def position(p):
    return f"{8400 + p // 100}.{p % 100:02d}.10.{p % 1000:03d}B"


def write(path, rows):
    with open(path, "w", newline="", encoding="utf-8") as f:
        csv.writer(f, quoting=csv.QUOTE_ALL, lineterminator="\n").writerows(rows)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    ncm, sufidos = [], []
    for p in range(POSITIONS):
        pos = position(p)
        if p % 17:
            ncm.append((pos[:10], pos[11:14], pos[14], "*" if p % 3 == 0 else ""))
        if p % 2:
            sufidos += [(pos[:14], option, "MARCA") for option in ("MA01", "MA02")]
    catalog = []
    for a in range(ARTICLES):
        if a % 10 == 9:
            continue
        p = a % POSITIONS
        suffixes = ("MA09-" if a % 13 == 0 else "MA01-") if p % 2 else "SIN SUFIJOS"
        catalog.append(("CAT", f"P-{a:05d}", position(p), "" if a % 2 else "N", suffixes,
                        "07", "01" if a % 4 == 0 else "07", "" if a % 5 == 0 else "1", ""))
    write(os.path.join(out, "ncm.csv"), ncm)
    write(os.path.join(out, "sufidos.csv"), sufidos)
    write(os.path.join(out, "catarticulos.csv"), catalog)


if __name__ == "__main__":
    main()
