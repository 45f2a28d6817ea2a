#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds gridcol.exe and every test for 64-bit Windows on this Debian machine,
# runs the example and the whole test suite under Wine, and packs
# build-windows/gridcol-<version>-win64.zip (gridcol.exe, README.md and the
# pictures it shows in doc/, COPYING.txt, example/).
#
# Installs what is missing first (MinGW-w64, Wine, Debian's host Qt tools, the
# tools that unpack a source package), and builds the static Qt for Windows
# once into /var/cache/gridcol (GRIDCOL_QT_PREFIX chooses another place).
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-windows"
qt=${GRIDCOL_QT_PREFIX:-/var/cache/gridcol/qt-5.15.8-mingw64}
jobs=$(nproc)

"$top/tools/install-build-deps.sh" g++-mingw-w64-x86-64-posix wine wine64 \
    qtbase5-dev-tools dpkg-dev xz-utils perl
"$top/tools/build-qt-windows.sh" "$qt"

# Wine in its own prefix inside the build tree, quiet, without a display and
# without the dialogs that offer to install Mono and Gecko.
WINEPREFIX="$build/wine"
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$build"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init
    wineserver --wait
fi
# One Wine server for the whole run, and Wine's own background programs
# (services.exe and the rest, which the first Windows program of a session
# starts) started here with their output on the null device: started by the
# first test, they would hold that test's output open, and CTest would wait
# for them until the test timed out.
wineserver --persistent </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
trap 'wineserver --kill' EXIT

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DGRIDCOL_QT_PREFIX="$qt" -DCMAKE_BUILD_TYPE=Release -DGRIDCOL_WERROR=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine
nice -n 10 cmake --build "$build" -j"$jobs"

# The example under Wine: the same outputs as the Linux golden files, with
# CR LF line ends in every text file and the binary vhf.dtb byte for byte.
golden="$top/tests/cases/example/expected"
run="$build/example-run"
rm -rf "$run"
cp -R "$top/example" "$run"
(cd "$run" && GRIDCOL_NOW=2026-12-06T10:00:00 LC_ALL=C.UTF-8 LANG=C.UTF-8 \
    TZ=CET-1CEST,M3.5.0,M10.5.0/3 wine "$build/gridcol.exe" </dev/null >console.txt)
failed=0
for name in console.txt gridcol.dbg n1mm_qth.txt calls_loc.dbg master.scp calls_loc.dat vhf.dtb; do
    if [ "$name" = vhf.dtb ]; then
        cmp "$run/$name" "$golden/$name" || failed=1
        continue
    fi
    if perl -0777 -ne 'exit(/(?<!\r)\n/ ? 0 : 1)' "$run/$name"; then
        echo "$name: a line does not end in CR LF" >&2
        failed=1
    fi
    perl -pe 's/\r\n\z/\n/' "$run/$name" | cmp - "$golden/$name" || {
        echo "$name differs from $golden/$name apart from line ends" >&2
        failed=1
    }
done
[ "$failed" -eq 0 ] || exit 1
echo "Example under Wine: every output matches the Linux golden files, text lines end in CR LF"

ctest --test-dir "$build" --output-on-failure -j"$jobs"

version=$(sed -n 's/^project(gridcol VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
package="gridcol-$version-win64"
rm -rf "$build/$package" "$build/$package.zip"
mkdir "$build/$package"
x86_64-w64-mingw32-strip -o "$build/$package/gridcol.exe" "$build/gridcol.exe"
cp "$top/README.md" "$build/$package/"
mkdir "$build/$package/doc"
cp "$top/doc/map-example.png" "$top/doc/map-check.png" "$build/$package/doc/"
# The licence of gridcol, which covers the Qt linked into gridcol.exe too
# (Qt's LGPL allows it to be conveyed under the GPL).
cp "$top/LICENSES/GPL-3.0-or-later.txt" "$build/$package/COPYING.txt"
cp -R "$top/example" "$build/$package/example"
(cd "$build" && cmake -E tar cf "$package.zip" --format=zip "$package")
rm -rf "$build/$package"
echo "Windows package: $build/$package.zip"
