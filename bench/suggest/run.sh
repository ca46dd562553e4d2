#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# The article suggestions: leave-one-out accuracy ("aduplan-cli suggest --evaluate") on the demo
# catalog and on a generated catalog of 20,000 articles in families with noisy descriptions
# (bench/suggest/make_catalog.py), then the time of one suggestion on a catalog of 100,000
# articles after the index is built once, with the memory (bench_suggest). Needs python3 and
# GNU time. Usage: bench/suggest/run.sh [build directory]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../../build"}
cli="$build/aduplan-cli"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$cli" --home "$home" init --demo >/dev/null 2>&1

evaluate() {
    /usr/bin/time -f "  (%e s wall, %M KB peak)" "$cli" --home "$home" suggest --evaluate "$@"
}
echo "demo catalog (DEMO):"
evaluate
python3 "$here/make_catalog.py" "$home" 20000
echo "generated catalog of 20,000 articles (FAMILIAS):"
evaluate --catalog FAMILIAS
python3 "$here/make_catalog.py" "$home" 100000
echo "generated catalog of 100,000 articles (FAMILIAS):"
"$build/bench/suggest/bench_suggest" "$home" FAMILIAS
