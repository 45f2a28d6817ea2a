// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct CommandLine;

/// gridcol --check: builds the database as a run does, from every source of
/// gridcol.ini but the checked logs themselves (and copies of them), writing
/// nothing, not even the debug log; judges every QSO of each log and prints
/// the report on standard output. Returns the exit status: 0 when no QSO is
/// suspect, 1 when one is or a QSO could not be read, 2 when a log cannot be
/// read (named on standard error) or the report cannot be written.
int RunCheck(int argc, char **argv, const CommandLine &commandLine);
