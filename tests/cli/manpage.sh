#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page formats without a single warning from groff.
# Usage: manpage.sh MANUAL_PAGE
set -eu

if ! command -v groff >/dev/null 2>&1; then
    echo "groff is not installed (Debian package groff-base): manual page not checked"
    exit 77
fi
warnings=$(groff -man -ww -z "$1" 2>&1) || true
if [ -n "$warnings" ]; then
    printf '%s\n' "$warnings"
    echo "manpage: 0 passed, 1 failed"
    exit 1
fi
echo "manpage: 1 passed, 0 failed"
