#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Two builds side by side on the database work: the transfer against its floor
# (bench/transfer), the process command against its floor (bench/db/run.sh) and the wizard's
# step 3 on 50,000 lines (bench/review/bench_step3).
#
#   bench/speed.sh BEFORE AFTER
#
# BEFORE and AFTER are Release build folders configured with -DADUPLAN_BENCH=ON, each with
# aduplan-cli, bench/transfer/bench_transfer and bench/review/bench_step3 built. The rounds
# alternate the two builds (ROUNDS, default 3); every figure of a round is kept in OUT (default
# /tmp/aduplan-speed) and the medians over the rounds are printed at the end. LINES (default
# "10000 50000") are the sizes; BENCH_DIR keeps the process command's invoices (see
# bench/db/run.sh). ADUPLAN_PG, as for the tests, adds PostgreSQL to both benchmarks.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { echo "uso: bench/speed.sh ANTES DESPUES" >&2; exit 2; }
before=$(cd "$1" && pwd)
after=$(cd "$2" && pwd)
ROUNDS=${ROUNDS:-3}
LINES=${LINES:-"10000 50000"}
OUT=${OUT:-/tmp/aduplan-speed}
mkdir -p "$OUT"
: >"$OUT/figures"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "load at the start: $(uptime)"
for round in $(seq "$ROUNDS"); do
    for side in before after; do
        build=$before
        [ "$side" = after ] && build=$after
        # Step 3: "step 3 on N lines: X ms from step 2, Y ms after a save ...".
        "$build/bench/review/bench_step3" 50000 | tee -a "$OUT/$side.log" |
            awk -v s="$side" '{ print s, "step3-50000", $6; print s, "step3-save-50000", $11 }' \
                >>"$OUT/figures"
        # The transfer: "ENGINE LINES COMMAND FLOOR RATIO ... RECORDED-RATIO", best of three
        # each; the last ratio (SQLite only) is against the shell writing the records too.
        # shellcheck disable=SC2086
        "$build/bench/transfer/bench_transfer" "$build/aduplan-cli" $LINES |
            tee -a "$OUT/$side.log" |
            awk -v s="$side" '$2 ~ /^[0-9]+$/ {
                print s, "transfer-" $1 "-" $2, $5
                if (NF >= 11 && $NF != "-") print s, "transfer-recorded-" $1 "-" $2, $NF
            }' >>"$OUT/figures"
    done
    # The process command, the two builds one after the other on the same data and floor:
    # "LINES ENGINE CLI ... RATIO CPU-RATIO ...".
    ROUNDS=1 LINES=$LINES "$root/bench/db/run.sh" "$before/aduplan-cli" "$after/aduplan-cli" |
        tee -a "$OUT/process.log" |
        awk -v b="$before/aduplan-cli" '$1 ~ /^[0-9]+$/ {
            side = index(b, substr($3, 2)) ? "before" : "after"
            rest = $0
            sub(/.*MB +[0-9.]+s +\( *[0-9.]+s\) +/, "", rest) # up to the floor: the ratio next
            split(rest, f, " ")
            print side, "process-" $2 "-" $1, f[1]
        }' >>"$OUT/figures"
    echo "round $round done: $(uptime)"
done

echo "medians of $ROUNDS rounds (ms for step 3, ratios to the floor otherwise):"
sort -k2,2 -k1,1 "$OUT/figures" | awk '
    function flush() { if (n) { m = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2; printf "%-28s %-7s %8.2f  (%s)\n", key, side, m, list } }
    { k = $2; s = $1
      if (k != key || s != side) { flush(); key = k; side = s; n = 0; list = "" }
      # insertion into the sorted values
      x = $3 + 0; i = ++n; while (i > 1 && v[i - 1] > x) { v[i] = v[i - 1]; i-- } v[i] = x
      list = list (list == "" ? "" : " ") $3 }
    END { flush() }'
echo "load at the end: $(uptime)"
