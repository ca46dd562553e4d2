#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Benchmark of the automatic process (aduplan-cli process) with the outside databases on SQLite
# and on PostgreSQL, against a floor: the same end state of ART reached set-based by the
# databases' own shells (sqlite3 with the outside databases attached; psql copying the catalog
# and nomenclator rows out, sqlite3 doing the rest).
#
#   bench/db/run.sh [CLI ...]
#
# Without CLI, builds build-bench (Release) and runs its aduplan-cli; given several (say, two
# versions), runs each on the same data, side by side. ADUPLAN_PG, as for the tests, names the
# server and the two PostgreSQL databases this rebuilds; without it only SQLite runs.
# LINES (default "10000 50000") and ROUNDS (default 3: the best run is shown) may be set;
# BENCH_DIR keeps the invoices between runs (default /tmp/aduplan-bench-db). Needs python3,
# LibreOffice (the invoices, made once), sqlite3, psql, strace and GNU time.
#
# Columns: elapsed and CPU (user + system) seconds of the whole command and of the same CLI's
# parse of the invoice, the command's peak resident memory, the floor's elapsed and CPU seconds
# (its shells; a server's own time is in neither CPU figure), (command - parse) / floor on
# elapsed and on CPU time, the statements sent to PostgreSQL per invoice line (the client's
# sends to the server, counted with strace) and whether the end state of ART equals the floor's.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/bench/db
LINES=${LINES:-"10000 50000"}
ROUNDS=${ROUNDS:-3}
BENCH_DIR=${BENCH_DIR:-/tmp/aduplan-bench-db}
mkdir -p "$BENCH_DIR"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -eq 0 ]; then
    cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DADUPLAN_BENCH=ON >/dev/null
    cmake --build "$root/build-bench" -j2 --target aduplan-cli >/dev/null
    set -- "$root/build-bench/aduplan-cli"
fi

pg() { printf '%s\n' "$ADUPLAN_PG" | tr ';' '\n' | sed -n "s/^ *$1 *= *//p"; }
now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc; }

# The outside data, once per run of this script.
python3 "$here/outside.py" "$work/out"
sqlite_schema() { cat "$root/demo/$1-schema.sql"; }
postgres_schema() { sed 's/\[\([0-9]*\)\]/"\1"/g' "$root/demo/$1-schema.sql"; }
mkdir -p "$work/outside"
sqlite3 "$work/outside/declaration.db" <<SQL
$(sqlite_schema declaration)
create temp table c (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp);
.import --csv $work/out/catarticulos.csv c
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp) select * from c;
SQL
sqlite3 "$work/outside/nomenclator.db" <<SQL
$(sqlite_schema nomenclator)
create temp table m (a, b, c, d);
.import --csv $work/out/ncm.csv m
insert into ncm ([001], [002], [003], [059]) select * from m;
.import --csv $work/out/sufidos.csv sufidos
SQL
if [ -n "$ADUPLAN_PG" ]; then
    export PGHOST=$(pg host) PGUSER=$(pg user) PGPASSWORD=$(pg password)
    psql -q -v ON_ERROR_STOP=1 -d "$(pg declaration)" <<SQL
set client_min_messages = warning;
drop table if exists catalogo, catarticulos, caratula, subitems, facturas cascade;
$(postgres_schema declaration)
\copy catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp) from '$work/out/catarticulos.csv' csv
analyze catarticulos;
SQL
    psql -q -v ON_ERROR_STOP=1 -d "$(pg nomenclator)" <<SQL
set client_min_messages = warning;
drop table if exists ncm, sufidos cascade;
$(postgres_schema nomenclator)
\copy ncm ("001", "002", "003", "059") from '$work/out/ncm.csv' csv
\copy sufidos from '$work/out/sufidos.csv' csv
analyze ncm, sufidos;
SQL
fi

# A home for each engine: work database, the outside databases or their directory entries.
template() { # CLI ENGINE DIR
    "$1" --home "$3" init >/dev/null
    sqlite3 "$3/db/planimport.db" "insert into PAIS (id, descripcion) values ('212', 'ESTADOS UNIDOS')"
    printf '[CONFIG]\nINTCAT=CAT\nPRCESM=9\n' >"$3/Aduplan.ini"
    if [ "$2" = sqlite ]; then
        cp "$work/outside/declaration.db" "$work/outside/nomenclator.db" "$3/"
        printf '[INTERNOS]\ndriver=QSQLITE\ndatabase=declaration.db\n[NCM]\ndriver=QSQLITE\ndatabase=nomenclator.db\n' >"$3/directory.ini"
    else
        for entity in INTERNOS:declaration NCM:nomenclator; do
            printf '[%s]\ndriver=QPSQL\ndatabase=%s\nhost=%s\nuser=%s\npassword=%s\n' \
                "${entity%%:*}" "$(pg "${entity#*:}")" "$PGHOST" "$PGUSER" "$PGPASSWORD"
        done >"$3/directory.ini"
    fi
}
engines=sqlite
[ -n "$ADUPLAN_PG" ] && engines="sqlite postgresql"
digest() { sqlite3 "$1/db/planimport.db" "select * from ART order by INTNRO, ARTORD" | sha1sum | cut -c1-12; }

# Floors: the lines (as the program wrote them) are given; the shells do the rest.
floor_sqlite() { # HOME
    cp "$work/outside/declaration.db" "$work/outside/nomenclator.db" "$work/lines.csv" "$1/"
    cd "$1"
    start=$(now)
    sqlite3 -bail db/planimport.db <<SQL
attach 'declaration.db' as d;
attach 'nomenclator.db' as n;
.read $here/floor.sql
SQL
    seconds "$start" "$(now)"
    cd - >/dev/null
}
floor_postgresql() { # HOME
    cp "$work/lines.csv" "$1/"
    cd "$1"
    start=$(now)
    cut -d, -f3 lines.csv | sort -u >numbers.csv
    psql -q -v ON_ERROR_STOP=1 -d "$(pg declaration)" <<SQL
create temp table numbers (idarticulo text);
\copy numbers from 'numbers.csv' csv
\copy (select idcatalogo, idarticulo, ncm, lapi, sufijos, estadistica, estadomerc, deresp from catarticulos where idcatalogo = 'CAT' and idarticulo in (select idarticulo from numbers)) to 'catarticulos.csv' csv
SQL
    cut -d, -f3 catarticulos.csv | sort -u >positions.csv
    psql -q -v ON_ERROR_STOP=1 -d "$(pg nomenclator)" <<SQL
create temp table positions (p text);
\copy positions from 'positions.csv' csv
\copy (select "001", "002", "003", "059" from ncm where "001" in (select left(p, 10) from positions)) to 'ncm.csv' csv
\copy (select sim, sufijo from sufidos where sim in (select left(p, 14) from positions)) to 'sufidos.csv' csv
SQL
    sqlite3 -bail db/planimport.db <<SQL
create temp table catarticulos (idcatalogo text, idarticulo text, ncm text, lapi text, sufijos text, estadistica text, estadomerc text, deresp text, primary key (idcatalogo, idarticulo));
.import --csv catarticulos.csv catarticulos
create temp table ncm ([001] text, [002] text, [003] text, [059] text, primary key ([001], [002], [003]));
.import --csv ncm.csv ncm
create temp table sufidos (sim text, sufijo text);
.import --csv sufidos.csv sufidos
create index temp.sufidos_sim on sufidos (sim);
.read $here/floor.sql
SQL
    seconds "$start" "$(now)"
    cd - >/dev/null
}

# "ELAPSED CPU" of a command timed by timed: the elapsed time to the millisecond (GNU time's own
# is in hundredths, too coarse against a floor of a tenth of a second), the CPU time from GNU
# time's "%U %S" in $work/time.
measured() { awk -v e="$1" '{ printf "%.3f %.2f\n", e, $1 + $2 }' "$work/time"; }
# Runs the command under GNU time (user, system, peak memory in $work/time) and prints what
# measured makes of it.
timed() {
    start=$(now)
    /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" >/dev/null
    measured "$(seconds "$start" "$(now)")"
}
# The same for a floor: its children's user and system time, from the shell's times.
floor_run() { # ENGINE HOME
    (
        start=$(now)
        "floor_$1" "$2" >/dev/null
        elapsed=$(seconds "$start" "$(now)")
        times >"$work/times" # a builtin in a pipeline would time its own subshell
        tail -n 1 "$work/times" | awk -v e="$elapsed" '{
            split($1, u, "m"); split($2, s, "m"); printf "%.3f %.2f\n", e, u[1] * 60 + u[2] + s[1] * 60 + s[2] }'
    )
}
# The least elapsed and the least CPU time of the rounds.
best() { awk 'NR == 1 || $1 < e { e = $1 } NR == 1 || $2 < c { c = $2 } END { print e, c }'; }
ratio() { echo "scale=2; ($1) / $2" | bc; }

printf '%-6s %-10s %-28s %13s %11s %6s %11s %6s %6s %10s %s\n' lines engine cli 'command (cpu)' \
    'parse (cpu)' peak 'floor (cpu)' ratio 'cpu' 'sends/line' 'end state'
for lines in $LINES; do
    doc=$BENCH_DIR/invoice-$lines.doc
    [ -f "$doc" ] || python3 "$root/bench/process/make_invoice.py" "$lines" "$lines" "$doc"
    for engine in $engines; do
        floor=
        for cli in "$@"; do
            rm -rf "$work/template"
            mkdir "$work/template"
            template "$cli" "$engine" "$work/template"
            parse=$(for r in $(seq "$ROUNDS"); do
                timed "$cli" parse "$doc"
            done | best)
            : >"$work/runs"
            peak=0
            for r in $(seq "$ROUNDS"); do
                rm -rf "$work/home"
                cp -r "$work/template" "$work/home"
                timed "$cli" --home "$work/home" process BENCH "$doc" --origin JAPAN=212 \
                    >>"$work/runs"
                peak=$(awk -v p="$peak" '{ print ($3 > p ? $3 : p) }' "$work/time")
            done
            command=$(best <"$work/runs")
            state=$(digest "$work/home")
            sends=-
            if [ "$engine" = postgresql ]; then
                rm -rf "$work/home"
                cp -r "$work/template" "$work/home"
                strace -f -qq -e trace=sendto -o "$work/strace" "$cli" --home "$work/home" \
                    process BENCH "$doc" --origin JAPAN=212 >/dev/null
                sends=$(echo "scale=3; $(grep -c sendto "$work/strace") / $lines" | bc)
            fi
            if [ -z "$floor" ]; then
                sqlite3 -csv "$work/home/db/planimport.db" "select INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCDUN from ART where INTNRO = 'BENCH' order by ARTORD" >"$work/lines.csv"
                floor=$(for r in $(seq "$ROUNDS"); do
                    rm -rf "$work/floor"
                    cp -r "$work/template" "$work/floor"
                    floor_run "$engine" "$work/floor"
                done | best)
                floor_state=$(digest "$work/floor")
            fi
            same=equal
            [ "$state" = "$floor_state" ] || same="DIFFERS ($state, floor $floor_state)"
            printf '%-6s %-10s %-28s %5ss (%5ss) %4ss (%4ss) %4sMB %4ss (%4ss) %6s %6s %10s %s\n' \
                "$lines" "$engine" "$(echo "$cli" | tail -c 28)" ${command% *} ${command#* } \
                ${parse% *} ${parse#* } "$((peak / 1024))" ${floor% *} ${floor#* } \
                "$(ratio "${command% *} - ${parse% *}" "${floor% *}")" \
                "$(ratio "${command#* } - ${parse#* }" "${floor#* }")" "$sends" "$same"
        done
    done
done
