#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Builds and runs the benchmark of the transfer (build-bench/, Release). Needs the sqlite3
# shell; with ADUPLAN_PG set (as for the tests) also psql and that PostgreSQL database, and with
# ADUPLAN_PG_LOG (the server's log file, readable) the statements sent are counted.
set -e
cd "$(dirname "$0")/../.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DADUPLAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target bench_transfer aduplan-cli
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ./build-bench/bench/transfer/bench_transfer ./build-bench/aduplan-cli
