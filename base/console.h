// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <cstdio>

/// The debug log "gridcol.dbg"; null while it is not open, and every write
/// to it checks that first.
extern FILE *DebugLog;

/// printf-style text on the console. No line end is added.
void ConsolePrint(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);

/// printf-style text into a stdio file; nothing happens when the file is null.
void FilePrint(FILE *file, const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(2, 3);

/// The stream behind ConsolePrint: standard output, unless a test points it elsewhere.
FILE *ConsoleFile();
void SetConsoleFile(FILE *file);
