#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# The output of two builds' commands compared byte for byte on large invoices (the demo's own
# commands are compared by the transcripts under tests/fixtures/cli, run by the tests).
#
#   bench/compare-cli.sh BEFORE-CLI AFTER-CLI
#
# Each build gets a demo home whose catalog also holds the generated invoices' articles (each
# takes the classification of a demo catalog entry, in turn, so that every check code shows;
# every tenth is left out, so that some lines stay new). On it: process, stats, rows, check,
# export (text), the transfer refused for the lines with errors, then, with every line made
# clean, the transfer, the declaration's items and catalog, the catalog journal, and the history
# without its times.
# LINES (default "10000 50000") are the sizes; BENCH_DIR keeps the invoices (as
# bench/db/run.sh, which writes them with bench/process/make_invoice.py).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { echo "uso: bench/compare-cli.sh CLI-ANTES CLI-DESPUES" >&2; exit 2; }
LINES=${LINES:-"10000 50000"}
BENCH_DIR=${BENCH_DIR:-/tmp/aduplan-bench-db}
mkdir -p "$BENCH_DIR"
work=$(mktemp -d)
trap '[ -n "$KEEP" ] || rm -rf "$work"' EXIT

run() { # CLI HOME LINES OUT
    cli=$1 home=$2 doc=$BENCH_DIR/invoice-$3.doc out=$4
    rm -rf "$home"
    "$cli" --home "$home" init --demo >/dev/null
    sqlite3 "$home/declaration.db" <<SQL
with recursive n(i) as (select 0 union all select i + 1 from n where i < $3 - 1),
     demo as (select row_number() over (order by idarticulo) - 1 as k, * from catarticulos
              where idcatalogo = 'DEMO'),
     size as (select count(*) as c from demo)
insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm, lapi, sufijos, idunidad,
                          estadistica, estadomerc, deresp)
select 'DEMO', printf('P-%05d', n.i), d.descripcion, d.ncm, d.lapi, d.sufijos, d.idunidad,
       d.estadistica, d.estadomerc, d.deresp
from n, size join demo d on d.k = n.i % size.c where n.i % 10 <> 9;
SQL
    {
        for command in "process BENCH $doc --origin JAPAN=212" "stats BENCH" "rows BENCH" \
            "check BENCH" "export BENCH --order ARTDSC --out $home/export.xls" "transfer BENCH"; do
            echo "\$ $command"
            # shellcheck disable=SC2086
            "$cli" --home "$home" $command 2>&1 || echo "exit $?"
        done
        cat "$home/export.xls"
        sqlite3 "$home/db/planimport.db" "update ART set PRCCRC = 'OK', PRCNCM = coalesce(PRCNCM, '8482.10.10.000M') where INTNRO = 'BENCH'"
        for command in "transfer BENCH" "stats BENCH"; do
            echo "\$ $command"
            # shellcheck disable=SC2086
            "$cli" --home "$home" $command 2>&1 || echo "exit $?"
        done
        sqlite3 "$home/declaration.db" "select * from subitems order by rowid" \
            "select * from catarticulos order by idcatalogo, idarticulo"
        sqlite3 "$home/db/planimport.db" "select INTNRO, CATALOG, ARTICLE, FIELD, OLDVALUE, \
            NEWVALUE, STATE, ACTION, CHANGE from CATALOG_JOURNAL order by ID"
        "$cli" --home "$home" history BENCH --json | sed 's/"time":"[^"]*"/"time":""/'
    } >"$out"
}

status=0
for lines in $LINES; do
    doc=$BENCH_DIR/invoice-$lines.doc
    [ -f "$doc" ] || python3 "$root/bench/process/make_invoice.py" "$lines" "$lines" "$doc"
    run "$1" "$work/home" "$lines" "$work/before-$lines.txt"
    run "$2" "$work/home" "$lines" "$work/after-$lines.txt"
    if cmp -s "$work/before-$lines.txt" "$work/after-$lines.txt"; then
        echo "$lines lines: the same ($(wc -c <"$work/after-$lines.txt") bytes)"
    else
        echo "$lines lines: DIFFERENT"
        diff "$work/before-$lines.txt" "$work/after-$lines.txt" | head -20
        status=1
    fi
done
exit $status
