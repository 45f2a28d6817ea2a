#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and testing gridcol needs on Debian, and only what is
# missing: one "apt-get update", then one "apt-get install", or nothing at all.
# Further package names given as arguments are installed the same way.
set -eu

packages="cmake make g++ qtbase5-dev $*"
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "gridcol needs these Debian packages:$missing" >&2
    echo "Run this script as root, or install them with: sudo apt-get install$missing" >&2
    exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086 # the list is meant to split into words
apt-get install -y --no-install-recommends $missing
