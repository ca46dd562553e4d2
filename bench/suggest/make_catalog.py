#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Adds the catalog FAMILIAS of N articles (default 20,000) to a demo home's declaration.db.

Articles come in families, as an office's history does: a series of part numbers sharing their
letters and separators ("RX-6204-2RS", "RX-6205-2RS", "RX-6205-ZZ"), of one product kind under
one position; one family in four spreads over two positions of one heading (a third of its
articles under the second). One family in seven has a single article, and one article in ten
has a number that tells nothing (a supplier's running number). Product kinds share words, and
positions of one heading share their first word. Descriptions are noisy: words dropped or
misspelt, plurals, word order changed, sizes and extra words that vary, and one in ten is only
a generic word and a size. Suffixes are those the position requires (the model value is the
article number as the suffix entry writes it). Some articles are also in the catalog FAMILIAS2
with the same number (another supplier's catalog).
Usage: make_catalog.py HOME [N]
"""
import random
import sqlite3
import sys

home = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
rng = random.Random(20261207)

ncm = sqlite3.connect(home + "/nomenclator.db")
positions = sorted(f"{d}.{o}{c}" for d, o, c in ncm.execute('select "001", "002", "003" from ncm'))
suffix_rows = ncm.execute("select trim(sim), trim(sufijo) from sufidos").fetchall()


def required(position):
    """The groups a position requires: code -> options ([] for a free value)."""
    levels = {position[:2], position[:4], position[:7], position[:14]}
    found = {}
    for sim, code in suffix_rows:
        if sim.replace(".", "").strip() == "" or sim.rstrip(" .") not in levels:
            continue
        if len(code) == 2:
            found.setdefault(code, [])
        elif len(code) == 4:
            found.setdefault(code[:2], []).append(code[2:])
    return found


groups = {p: required(p) for p in positions}
letters = "ABCDEFGHJKLMNPRSTUVWXZ"
syllables = ["ro", "da", "men", "tor", "val", "vu", "la", "bom", "ba", "ca", "ble", "tu", "bo",
             "jun", "ta", "fil", "tro", "mo", "sen", "sor", "re", "le", "ca", "pa", "ci", "ter",
             "ma", "gne", "ti", "co", "pla", "ca", "dor", "ne", "rin", "go", "man", "gue", "ra"]


def word():
    return "".join(rng.choice(syllables) for _ in range(rng.randint(2, 3))).upper()


# Product kinds: two or three head words each, from a small pool, the first one shared by the
# positions of a heading.
pool = [word() for _ in range(120)]
heading_word = {}
kinds = {}
for p in positions:
    first = heading_word.setdefault(p[:4], rng.choice(pool))
    kinds[p] = [first] + rng.sample(pool, rng.randint(1, 2))
extras = [word() for _ in range(150)]
generic = ["REPUESTO", "PIEZA", "KIT", "ACCESORIO", "CONJUNTO"]
brands = [word()[:8] for _ in range(60)]
finishes = ["2RS", "ZZ", "SS", "A", "B", "C", "N", "GR5", "PE", "NPT", "HD", "XL"]
weights = [rng.paretovariate(1.0) for _ in positions]


def clean(text):
    """The value as the suffix entry writes it: upper case, separators as blanks, 20 characters."""
    return "".join(c if c.isalnum() or c in "&,/" else " " for c in text.upper().strip())[:20]


def suffixes(position, number, brand, options):
    need = groups[position]
    if not need:
        return "SIN SUFIJOS"
    parts = []
    for code in sorted(need):
        if need[code]:
            parts.append(code + options.setdefault(code, rng.choice(need[code] + ["00"])))
        elif code == "AB":
            parts.append("AB(%s)" % clean(number))
        elif code == "AA":
            parts.append("AA(%s)" % brand)
        elif code.startswith("Z"):
            parts.append("%s(%06d)" % (code, rng.randint(1, 999999)))
        else:
            parts.append("%s(%s)" % (code, rng.choice(extras)[:20]))
    return "-".join(parts) + "-"


def misspelt(w):
    k = rng.randrange(len(w))
    return w[:k] + w[k + 1:]


def noisy(kind, size):
    if rng.random() < 0.1:
        return rng.choice(generic) + " " + size
    words = list(kind)
    words = [w + "S" if rng.random() < 0.25 else w for w in words]
    words = [misspelt(w) if rng.random() < 0.08 else w for w in words]
    if len(words) > 1 and rng.random() < 0.2:
        words.pop(rng.randrange(len(words)))
    words += rng.sample(extras, rng.randint(0, 3)) + [size]
    if rng.random() < 0.3:
        rng.shuffle(words)
    return " ".join(words)


def families():
    n = 0
    while True:
        n += 1
        position = rng.choices(positions, weights)[0]
        sibling = [p for p in positions if p[:4] == position[:4] and p != position]
        second = rng.choice(sibling) if sibling and rng.random() < 0.25 else position
        prefix = "".join(rng.choice(letters) for _ in range(rng.randint(1, 4)))
        series = rng.randint(10, 9999)
        size = 1 if rng.random() < 1 / 7 else rng.randint(2, 30)
        yield n, position, second, prefix, series, size


rows = {}
brand_of = {}
for family, position, second, prefix, series, size in families():
    brand = rng.choice(brands)
    options = {}
    finish = rng.sample(finishes, 2)
    for k in range(size):
        number = "%s-%d-%s" % (prefix, series + k // 2, finish[k % 2])
        if rng.random() < 0.1:
            number = "S%07d" % rng.randrange(10000000)
        if number in rows:
            continue
        where = second if rng.random() < 1 / 3 else position
        description = noisy(kinds[where], "%dX%d MM" % (series % 90 + k, rng.randint(5, 60)))
        rows[number] = (where, description, suffixes(where, number, brand, options))
        if len(rows) >= count:
            break
    if len(rows) >= count:
        break


def entry(catalog, number, position, description, text):
    return (catalog, number, description, "", 0, 1.0, position, "N", text, "07", "07", 0, "", "",
            0)


decl = sqlite3.connect(home + "/declaration.db")
decl.execute("delete from catarticulos where idcatalogo in ('FAMILIAS', 'FAMILIAS2')")
decl.execute("insert or ignore into catalogo values ('FAMILIAS', 'Familias de prueba')")
decl.execute("insert or ignore into catalogo values ('FAMILIAS2', 'Otro proveedor')")
insert = ("insert into catarticulos (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
          "preciounitario, ncm, lapi, sufijos, idunidad, estadistica, valorrelacionestadistica, "
          "estadomerc, deresp, valorderesp) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
decl.executemany(insert, (entry("FAMILIAS", n, *v) for n, v in rows.items()))
decl.executemany(insert, (entry("FAMILIAS2", n, v[0], noisy(kinds[v[0]], ""), v[2])
                          for n, v in rows.items() if rng.random() < 0.05))
decl.commit()
