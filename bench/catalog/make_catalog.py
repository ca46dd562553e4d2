#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Adds the catalog BENCH of N articles (default 100,000) to a demo home's declaration.db.

Articles spread over the demo nomenclator's positions with the suffixes each position requires,
values varied per article (brand, model, date), so that nearly every (position, suffixes) pair
is distinct. About 6 % are invalid: a position missing from the nomenclator, a wrong check
letter, a required group left out, an unknown group, a malformed value, suffixes where none
are required.
Usage: make_catalog.py HOME [N]
"""
import random
import sqlite3
import sys

home = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
rng = random.Random(20261206)

ncm = sqlite3.connect(home + "/nomenclator.db")
positions = [f"{d}.{o}{c}" for d, o, c in ncm.execute('select "001", "002", "003" from ncm')]
rows = ncm.execute("select sim, sufijo from sufidos").fetchall()


def keys(position):
    """The four level keys of a position: chapter, heading, subheading, position."""
    digits = position[:10]
    return [digits[:2] + "  .  .  .   ", digits[:4] + ".  .  .   ", digits[:7] + ".  .   ",
            position[:14]]


def groups(position):
    found = {}
    for sim, code in rows:
        if sim in keys(position):
            code = code.strip()
            if len(code) == 2:
                found.setdefault(code, [])
            elif len(code) == 4:
                found.setdefault(code[:2], []).append(code[2:])
    return found


required = {p: groups(p) for p in positions}
# A few positions carry most articles, as in a real catalog.
weights = [rng.paretovariate(1.2) for _ in positions]
words = ["ROLTEC", "CABLEX", "AQUAVALV", "HIDROMAX", "INSTRUMAX", "FLUIDEK", "NORDLAGER", "ACME"]


def value(code, n):
    if code.startswith("Z"):
        return "%06d" % (200001 + n % 900000)
    return "%s %d" % (rng.choice(words), n % 100000)


def suffixes(position, n):
    need = required[position]
    if not need:
        return "SIN SUFIJOS"
    parts = []
    for code in sorted(need):
        options = need[code]
        parts.append(code + rng.choice(options) if options else "%s(%s)" % (code, value(code, n)))
    return "-".join(parts) + "-"


def article(n):
    position = rng.choices(positions, weights)[0]
    text = suffixes(position, n)
    fault = rng.random()
    if fault < 0.01:
        position = position[:8] + "99" + position[10:]  # most likely not in the nomenclator
    elif fault < 0.02:
        position = position[:14] + ("A" if position[14] != "A" else "B")
    elif fault < 0.03 and text.count("-") > 1:
        text = text.split("-", 1)[1]  # the first group left out
    elif fault < 0.04 and text != "SIN SUFIJOS":
        text += "QQ01-"
    elif fault < 0.05 and "(" in text:
        text = text.replace(")", " " * 30 + ")", 1)
    elif fault < 0.06 and text == "SIN SUFIJOS":
        text = "AA(%s)-" % value("AA", n)
    return ("BENCH", "B-%06d" % n, "ARTICULO %d" % n, "", 0, 1.0, position, "N", text, "07",
            "07", 0, "", "", 0)


decl = sqlite3.connect(home + "/declaration.db")
decl.execute("delete from catarticulos where idcatalogo = 'BENCH'")
decl.execute("insert or ignore into catalogo values ('BENCH', 'Catalogo de prueba de carga')")
decl.executemany("insert into catarticulos (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
                 "preciounitario, ncm, lapi, sufijos, idunidad, estadistica, "
                 "valorrelacionestadistica, estadomerc, deresp, valorderesp) values "
                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 (article(n) for n in range(1, count + 1)))
decl.commit()
