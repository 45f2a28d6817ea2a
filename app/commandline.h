// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QStringList>

/// gridcol collects in the directory it is started in and takes no arguments
/// for that. The command line answers --help and --version, runs the check of
/// contest logs (--check), and refuses everything else, so that a mistyped
/// option never runs a collection (which overwrites its outputs) in whatever
/// directory one happens to stand in. Nothing here reads or writes a file.

/// What the arguments ask for.
enum class CommandLineRequest { Collect, Help, Version, Check, Refuse };

struct CommandLine
{
    CommandLineRequest request = CommandLineRequest::Collect;
    QStringList logs; ///< Check: the logs to check, as given
    bool all = false; ///< Check: list every QSO, the plainly OK ones too
    bool json = false; ///< Check: the report as JSON
    QString map; ///< Check: the map to write, or empty
    QByteArray problem; ///< Refuse: the line that names the argument
};

/// Reads the arguments after the program name, as the raw bytes the system passed.
CommandLine ReadCommandLine(int argc, const char *const *argv);

/// Answers help, version and refused arguments on standard output or
/// standard error. Returns the exit code when gridcol should stop there (0
/// after help or version, 1 when standard output cannot take them, 2 after a
/// refused argument), or -1 when the work goes on (a collection, a check).
int AnswerCommandLine(const CommandLine &commandLine);
