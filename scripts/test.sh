#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Builds Aduplan and runs the whole test suite.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -DADUPLAN_WERROR=ON
cmake --build build -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
