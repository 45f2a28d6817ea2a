#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs golden working-directory cases (tests/cases/<name>/), shows how what
# gridcol produces now differs from what each case expects, and only after a
# "y" (or with --yes) takes the new files over as the expectation. A case
# without an expected/ folder yet gets console.txt, stderr.txt when not empty,
# gridcol.dbg and every output; an existing case gets only the files it
# already expects. Review the result with git diff before committing.
#
#   sh tools/update-cases.sh [--yes] [CASE...]     (default: every case)
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
yes=no
if [ "${1-}" = "--yes" ]; then
    yes=yes
    shift
fi

cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target tst_cases gridcol >/dev/null

cases="$*"
[ -n "$cases" ] || cases=$(cd "$top/tests/cases" && ls)
produced=$(mktemp -d)
trap 'rm -rf "$produced"' EXIT

export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=CET-1CEST,M3.5.0,M10.5.0/3
for name in $cases; do
    [ -d "$top/tests/cases/$name" ] || { echo "no case $name" >&2; exit 2; }
    GRIDCOL_CASE_OUTPUT="$produced" "$build/tests/tst_cases" "run:$name" >/dev/null 2>&1 || true
done

changed=""
for name in $cases; do
    expected="$top/tests/cases/$name/expected"
    for file in "$produced/$name"/*; do
        base=$(basename "$file")
        if [ -d "$expected" ] && [ ! -f "$expected/$base" ] && [ "$base" != stderr.txt ]; then
            rm "$file"
            continue
        fi
        if ! cmp -s "$file" "$expected/$base" 2>/dev/null; then
            diff -u --label "$name/expected/$base" --label "$name/now/$base" "$expected/$base" "$file" 2>/dev/null \
                || [ -f "$expected/$base" ] || echo "+++ new file $name/expected/$base"
            changed="$changed $name"
        fi
    done
    # An expected stderr.txt that is no longer written.
    if [ -f "$expected/stderr.txt" ] && [ ! -f "$produced/$name/stderr.txt" ]; then
        echo "--- $name/expected/stderr.txt: standard error is empty now"
        : >"$produced/$name/stderr.txt"
        changed="$changed $name"
    fi
done

if [ -z "$changed" ]; then
    echo "Every case produces what it expects."
    exit 0
fi
if [ "$yes" != yes ]; then
    printf 'Take these files over as the expectation? [y/N] '
    read -r answer || answer=n
    [ "$answer" = y ] || { echo "Nothing changed."; exit 1; }
fi
for name in $(echo "$changed" | tr ' ' '\n' | sort -u); do
    mkdir -p "$top/tests/cases/$name/expected"
    cp "$produced/$name"/* "$top/tests/cases/$name/expected/"
    [ -s "$top/tests/cases/$name/expected/stderr.txt" ] || rm -f "$top/tests/cases/$name/expected/stderr.txt"
    echo "updated $name"
done
