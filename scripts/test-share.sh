#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Prints the size of the test code against the program's: non-blank lines of the .cpp and .h
# files under tests/ and src/, leaving out lines that hold only a comment (// ... or a line
# of a /* ... */ block), which is what cloc counts as code. Fixtures (data, golden files) do
# not count. Informative only: it always succeeds.
cd "$(dirname "$0")/.."

count() {
    find "$1" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | awk '
        { line = $0; sub(/^[ \t]+/, "", line); sub(/[ \t\r]+$/, "", line) }
        inblock { if (index(line, "*/")) { inblock = 0; rest = substr(line, index(line, "*/") + 2)
                                           sub(/^[ \t]+/, "", rest); if (rest != "") n++ }
                  next }
        line == "" || line ~ /^\/\// { next }
        line ~ /^\/\*/ { if (!index(substr(line, 3), "*/")) inblock = 1; next }
        { n++ }
        END { print n + 0 }'
}

tests=$(count tests)
src=$(count src)
awk -v t="$tests" -v s="$src" 'BEGIN {
    printf "test code: %d lines, src/: %d lines, share %.1f %%\n", t, s, s ? 100 * t / s : 0 }'
echo "(non-blank, non-comment lines of .cpp/.h; fixtures not counted)"
