#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Renders the README's pictures of the windows into docs/ on Qt's offscreen platform, from a
# fresh demo home.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build -j2 --target screenshots
ADUPLAN_SCREENSHOTS="$PWD/docs" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ./build/tools/screenshots
