#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The map as a user sees it: gridcol writes the example's map and a checked
# log's map, headless Chromium draws each to a PNG, and mappixels.py checks
# the pictures (the shade of a known call's square is the one the legend gives
# its count, the suspect QSOs' lines are red, the others grey) and the pages
# (well-formed XML, nothing from elsewhere, no script). Chromium must log no
# console message for them, and the map of hostile call texts must show them
# as text, with no script element in the document Chromium builds.
# Without chromium the check is skipped.
# Usage: map.sh GRIDCOL SOURCE_DIR [KEEP_DIR]   (KEEP_DIR: where the PNGs are kept)
set -eu

gridcol=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
top=$2
keep=${3-}
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v chromium >/dev/null 2>&1; then
    echo "chromium is not installed: check skipped"
    exit 77
fi
if ! command -v python3 >/dev/null 2>&1; then
    echo "python3 is not installed: check skipped"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The working directories of the golden cases map-example, map-check and map-hostile.
mkdir "$work/example" "$work/check" "$work/hostile"
cp "$top/example/adif.txt" "$work/example/"
cp -R "$top/example/sources/." "$work/example/"
cp "$top/tests/cases/map-example/gridcol.ini" "$work/example/"
cp -R "$top/tests/cases/map-check/gridcol.ini" "$top/tests/cases/map-check/mine" \
    "$top/tests/cases/map-check/sources" "$work/check/"
cp -R "$top/tests/cases/map-hostile/gridcol.ini" "$top/tests/cases/map-hostile/src" "$work/hostile/"

(cd "$work/example" && GRIDCOL_NOW=2026-12-06T10:00:00 "$gridcol" </dev/null >/dev/null)
status=0
(cd "$work/check" && GRIDCOL_NOW=2026-05-10T12:00:00 "$gridcol" --check mine/contest.edi --map check-map.html \
    </dev/null >/dev/null) || status=$?
[ "$status" -eq 1 ] || { echo "gridcol --check ended with status $status, not 1"; exit 1; }
(cd "$work/hostile" && GRIDCOL_NOW=2026-05-10T12:00:00 "$gridcol" </dev/null >/dev/null)

# Chromium as it runs without network or display, its window the size of the
# page: no first-run work, no
# background traffic, a fresh profile each time.
browse() { # OUTPUT-OPTION PAGE LOG
    profile=$(mktemp -d "$work/profile.XXXXXX")
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --window-size=1200,784 --hide-scrollbars --force-device-scale-factor=1 \
        --enable-logging=stderr --v=0 "$1" "file://$2" 2>"$3"
}

failed=0
for page in example/gridcol-map.html check/check-map.html; do
    name=$(basename "$page" .html)
    if ! browse --screenshot="$work/$name.png" "$work/$page" "$work/$name.log" ||
        [ ! -s "$work/$name.png" ]; then
        echo "FAIL: chromium drew no picture of $page"
        cat "$work/$name.log"
        failed=1
        continue
    fi
    if grep ':CONSOLE' "$work/$name.log"; then
        echo "FAIL: $page logs the console messages above"
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1

browse --dump-dom "$work/hostile/hostile.html" "$work/hostile.log" >"$work/hostile.dom"
if grep ':CONSOLE' "$work/hostile.log"; then
    echo "FAIL: hostile.html logs the console messages above"
    failed=1
fi

python3 "$here/mappixels.py" "$work/example/gridcol-map.html" "$work/gridcol-map.png" \
    "$work/check/check-map.html" "$work/check-map.png" "$work/hostile/hostile.html" "$work/hostile.dom" || failed=1

if [ -n "$keep" ]; then
    cp "$work/gridcol-map.png" "$keep/map-example.png"
    cp "$work/check-map.png" "$keep/map-check.png"
fi
exit "$failed"
