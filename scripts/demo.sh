#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Builds Aduplan, writes the demo home (once) and starts the program on it.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build -j2 --target aduplan aduplan-cli
home="$PWD/demo-home"
[ -f "$home/db/planimport.db" ] || ./build/aduplan-cli --home "$home" init --demo
exec ./build/aduplan --home "$home"
