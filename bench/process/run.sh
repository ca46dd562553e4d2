#!/bin/sh
# Builds and runs the benchmark of the automatic classification (Release build in build-bench/).
# Needs the sqlite3 shell for the floor figures.
set -e
cd "$(dirname "$0")/../.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DADUPLAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target bench_process
./build-bench/bench/process/bench_process
