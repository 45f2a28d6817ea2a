#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the package that tools/package.sh built into this machine with
# dpkg -i, checks the installed program (its version, its manual page, one run
# of the installed example in a temporary folder) and removes the package
# again with dpkg -r, also when a check fails. Run as root.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
fail() {
    echo "check-package: $*" >&2
    exit 1
}

set -- "$top"/build-package/gridcol_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one package in build-package/; run tools/package.sh first"
package=$1
version=$(dpkg-deb --field "$package" Version)
[ "$(id -u)" -eq 0 ] || fail "dpkg -i needs root"
# Someone's own installation is left alone rather than replaced and removed.
if dpkg-query -W -f='${Status}' gridcol 2>/dev/null | grep -q "install ok installed"; then
    fail "gridcol is installed on this machine already; remove it first (dpkg -r gridcol)"
fi

work=$(mktemp -d)
cleanup() {
    rm -rf "$work"
    if dpkg-query -W -f='${Status}' gridcol 2>/dev/null | grep -q "install ok installed"; then
        dpkg -r gridcol
    fi
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

dpkg -i "$package"

[ "$(command -v gridcol)" = /usr/bin/gridcol ] || fail "gridcol is not /usr/bin/gridcol"
shown=$(gridcol --version)
[ "$shown" = "gridcol $version" ] || fail "gridcol --version says '$shown', not 'gridcol $version'"
echo "gridcol --version: $shown"

if command -v man >/dev/null 2>&1; then
    [ "$(man -w gridcol)" = /usr/share/man/man1/gridcol.1.gz ] || fail "man does not find gridcol(1)"
    man gridcol 2>&1 | grep -q "^EXIT STATUS" || fail "man gridcol does not render"
    echo "man gridcol: renders"
fi

cp -R /usr/share/doc/gridcol/examples "$work/run"
cd "$work/run"
gridcol </dev/null >console.txt 2>&1 || fail "the example run failed with status $?"
for output in n1mm_qth.txt calls_loc.dbg master.scp calls_loc.dat vhf.dtb gridcol.dbg; do
    [ -s "$output" ] || fail "the example run wrote no $output"
done
tail -n 1 console.txt | grep -qx "Press any key to terminate the program." \
    || fail "the example run did not end as expected; its console:
$(cat console.txt)"
echo "example run: $(grep -c . calls_loc.dat) lines in calls_loc.dat, all five outputs and gridcol.dbg written"

cd /
cleanup
trap - EXIT
[ ! -e /usr/bin/gridcol ] || fail "dpkg -r left /usr/bin/gridcol behind"
echo "gridcol $version: installed, checked and removed again."
