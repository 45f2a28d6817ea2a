#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake --install into a temporary DESTDIR: the program, the manual page, the
# README and the example working directory land where they belong, with
# nothing else beside them, and the installed program runs.
# Usage: install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
set -eu

cmake=$1
build=$2
source=$3
version=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" "$cmake" --install "$build" --prefix /usr >"$work/install.log"
usr="$work/root/usr"
passed=0
failed=0

check() {
    if eval "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1"
    fi
}

# Every file, and only those.
(cd "$source/example" && find . -type f | sed 's|^\.|share/doc/gridcol/examples|') >"$work/expected"
printf '%s\n' bin/gridcol share/man/man1/gridcol.1 share/doc/gridcol/README.md \
    share/doc/gridcol/doc/map-example.png share/doc/gridcol/doc/map-check.png >>"$work/expected"
sort -o "$work/expected" "$work/expected"
(cd "$work/root" && find . ! -type d | sed 's|^\./usr/||' | sort) >"$work/installed"
check "the installed files are not the expected ones" 'diff "$work/expected" "$work/installed"'

check "bin/gridcol is not an executable" '[ -x "$usr/bin/gridcol" ]'
check "the installed program does not answer --version" \
    '[ "$("$usr/bin/gridcol" --version)" = "gridcol $version" ]'
check "share/man/man1/gridcol.1 differs from doc/gridcol.1" \
    'cmp "$usr/share/man/man1/gridcol.1" "$source/doc/gridcol.1"'
check "share/doc/gridcol/README.md differs from README.md" \
    'cmp "$usr/share/doc/gridcol/README.md" "$source/README.md"'
check "share/doc/gridcol/examples differs from example/" \
    'diff -r "$usr/share/doc/gridcol/examples" "$source/example"'
check "installed documentation is not readable by everyone" \
    '[ -z "$(find "$usr/share" ! -perm -a+r)" ]'

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
