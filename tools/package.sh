#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package gridcol_<version>_<arch>.deb into build-package/
# with CPack, and checks it with lintian, whose findings are printed.
# Installs what it needs (build tools, dpkg-dev, file, lintian) with apt-get
# when missing. The package is built with Debian's hardening flags.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
# dpkg-shlibdeps (dpkg-dev) and file work out Depends; groff-base lets lintian
# check the manual page.
"$top/tools/install-build-deps.sh" dpkg-dev file groff-base lintian reuse

build="$top/build-package"
# Every hardening Debian knows, bind-now included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
rm -rf "$build"
cmake -S "$top" -B "$build" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB)

package=$(ls "$build"/gridcol_*.deb)
echo
echo "Package: $package"
dpkg-deb --info "$package"
echo
echo "lintian $(basename "$package"):"
# lintian exits non-zero on an error; warnings and notes are printed but pass.
lintian --display-info --fail-on error "$package"
echo "lintian found no error."
echo
echo "reuse lint:"
# Every file of the source tree says its licence, or .reuse/dep5 says it for it.
(cd "$top" && reuse lint)
