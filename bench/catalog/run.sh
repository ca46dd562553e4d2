#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Times "aduplan-cli catalog check" on a catalog of 100,000 articles (bench/catalog/make_catalog.py)
# with the peak memory, on SQLite and, when ADUPLAN_PG names a server and two databases that may
# be rebuilt (as for the tests), on PostgreSQL. Needs python3, GNU time, and sqlite3 and psql for
# the PostgreSQL run. Usage: bench/catalog/run.sh [path/to/aduplan-cli] [articles]
set -e
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-"$here/../../build/aduplan-cli"}
count=${2:-100000}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$cli" --home "$home" init --demo >/dev/null 2>&1
python3 "$here/make_catalog.py" "$home" "$count"

check() {
    /usr/bin/time -f "$1: %e s wall, %U s user, %S s system, %M KB peak" "$cli" --home "$home" catalog check \
        --catalog BENCH >"$home/out.txt" || test $? -eq 1
    tail -n 8 "$home/out.txt" | tr '\n' ' '
    echo
}
check "SQLite, $count articles"

[ -n "$ADUPLAN_PG" ] || exit 0
field() { echo "$ADUPLAN_PG" | tr ';' '\n' | sed -n "s/^$1=//p"; }
export PGHOST=$(field host) PGUSER=$(field user) PGPASSWORD=$(field password)
export PGOPTIONS='-c client_min_messages=warning'
# Each SQLite table goes to PostgreSQL with its schema ([001] quoted as "001") and its rows.
copy() { # database file, PostgreSQL database, tables...
    file=$1 db=$2
    shift 2
    for table in "$@"; do
        psql -q -d "$db" -c "drop table if exists $table cascade"
        sqlite3 "$file" ".schema $table" | sed 's/\[\([0-9]*\)\]/"\1"/g' | psql -q -d "$db"
        sqlite3 -csv "$file" "select * from $table" |
            psql -q -d "$db" -c "\\copy $table from stdin with (format csv)"
    done
}
copy "$home/declaration.db" "$(field declaration)" catalogo catarticulos
copy "$home/nomenclator.db" "$(field nomenclator)" ncm sufidos
for entity in INTERNOS:declaration NCM:nomenclator; do
    printf '[%s]\ndriver=QPSQL\ndatabase=%s\nhost=%s\nuser=%s\npassword=%s\n' "${entity%%:*}" \
        "$(field "${entity#*:}")" "$PGHOST" "$PGUSER" "$PGPASSWORD"
done >"$home/directory.ini"
check "PostgreSQL, $count articles"
