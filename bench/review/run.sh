#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Times the control report of 5,000 rows to PDF and the results export of 10,000 rows (text
# and .xlsx) through aduplan-cli, with the peak memory of each run. Needs python3 (to fill the
# work database) and GNU time (/usr/bin/time). Usage: bench/review/run.sh [path/to/aduplan-cli]
set -e
cli=${1:-"$(dirname "$0")/../../build/aduplan-cli"}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$cli" --home "$home" init --demo >/dev/null 2>&1
python3 - "$home/db/planimport.db" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
rows = lambda interno, n: [
    (interno, i, "P-%05d" % (n - i), "ARTICULO DE PRUEBA NUMERO %d" % i, i % 97 + 0.5, 1.25 * i,
     (i % 97 + 0.5) * 1.25 * i, "410", "07", "8482.10.10.000B", "AA(1)-", "07", 1.0, "A", "OK")
    for i in range(1, n + 1)]
db.executemany("insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, "
               "PRCDUN, PRCNCM, PRCSUF, PRCEUN, PRCECA, PRCEST, PRCCRC) values "
               "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               rows("R5000", 5000) + rows("E10000", 10000))
db.commit()
PY
run() {
    label=$1
    shift
    /usr/bin/time -f "$label: %e s wall, %M KB peak" "$cli" --home "$home" "$@"
}
run "report 5,000 rows to PDF" report R5000 --ok --pdf "$home/r.pdf"
run "export 10,000 rows, text (by ARTDSC)" export E10000 --order ARTDSC --out "$home/e.xls"
run "export 10,000 rows, .xlsx (by ARTDSC)" export E10000 --order ARTDSC --out "$home/e.xlsx"
ls -l "$home/r.pdf" "$home/e.xls" "$home/e.xlsx" | awk '{print $5, $9}'
