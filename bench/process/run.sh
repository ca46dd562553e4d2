#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Builds and runs the benchmark of the automatic classification (build-bench/, Release).
# Needs the sqlite3 shell (floor) and LibreOffice (soffice) for the invoices of the whole
# process command.
set -e
cd "$(dirname "$0")/../.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DADUPLAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target bench_process aduplan-cli
./build-bench/bench/process/bench_process ./build-bench/aduplan-cli bench/process/make_invoice.py
