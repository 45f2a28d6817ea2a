#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a static Qt 5 for 64-bit Windows (QtCore and QtTest only) with
# MinGW-w64, from Debian's own source package of the Qt that Debian ships, and
# installs it into a cache outside the repository. Does nothing when the cache
# is already complete.
#
#   tools/build-qt-windows.sh [prefix]     (default /var/cache/gridcol/qt-5.15.8-mingw64)
#
# Needs g++-mingw-w64-x86-64-posix, dpkg-dev, make, perl and Debian's host
# tools of the same Qt (qtbase5-dev-tools, for rcc); tools/build-windows.sh
# installs them first.
set -eu

prefix=${1:-/var/cache/gridcol/qt-5.15.8-mingw64}
stamp="$prefix/.gridcol-complete"
[ -f "$stamp" ] && exit 0

work="$prefix.build"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "Building Qt for Windows into $prefix (once; about 20 minutes of work for 2 cores)"

# The source package, fetched with a private list of deb-src entries made from
# the entries this machine already has for Qt, so that its own apt
# configuration stays as it is.
apt="$work/apt"
mkdir -p "$apt/lists/partial" "$apt/parts"
qt_sources() {
    apt-cache policy qtbase5-dev-tools |
        awk '$3 ~ /\// && $NF == "Packages" { split($3, s, "/"); print "deb-src " $2 " " s[1] " " s[2] }' |
        sort -u
}
qt_sources >"$apt/sources.list"
if [ ! -s "$apt/sources.list" ]; then
    apt-get update
    qt_sources >"$apt/sources.list"
fi
set -- -q -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts" \
    -o Dir::State::Lists="$apt/lists" -o APT::Sandbox::User=root
apt-get "$@" update
apt-get "$@" source --download-only qtbase-opensource-src
# Applies Debian's patches (its security fixes among them), as for the Linux Qt.
dpkg-source --no-check -x qtbase-opensource-src_*.dsc source >/dev/null

# Qt's win32-g++ make configuration calls x86_64-w64-mingw32-g++; the posix thread model of
# MinGW-w64 is the one with std::thread, so it must be that one whatever the
# machine's alternatives say.
mkdir -p "$work/compilers"
for tool in gcc g++; do
    ln -s "/usr/bin/x86_64-w64-mingw32-$tool-posix" "$work/compilers/x86_64-w64-mingw32-$tool"
done
PATH="$work/compilers:$PATH"
export PATH

jobs=$(nproc)
# The configure step builds qmake for this machine, by default with one job.
MAKEFLAGS=-j$jobs
export MAKEFLAGS
mkdir build
cd build
nice -n 10 ../source/configure -prefix "$prefix" -opensource -confirm-license \
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -static -release -no-gui -no-widgets -no-opengl -no-dbus -no-ssl -no-icu \
    -qt-pcre -qt-zlib -nomake examples -nomake tests
# Only the Makefiles, then only the modules gridcol needs and what they need
# (PCRE2, zlib, moc and the other host tools).
nice -n 10 make sub-src-qmake_all
nice -n 10 make -C src sub-corelib sub-testlib sub-winmain
for part in src/corelib src/testlib src/winmain src/tools/moc src/3rdparty/pcre2; do
    make -C "$part" install
done
make sub-qmake-qmake-aux-pro-install_subtargets install_mkspecs
# The CMake files of QtCore name rcc too; Debian's rcc of the same Qt serves.
[ -x "$prefix/bin/rcc" ] || ln -s /usr/lib/qt5/bin/rcc "$prefix/bin/rcc"

cd /
rm -rf "$work"
date -u +"Built %Y-%m-%dT%H:%M:%SZ from Debian's source package" >"$stamp"
