// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/outputsettings.h"

#include <QDateTime>
#include <QStringList>

class QSettings;
struct MapOptions;

/// The program's homepage, named in the closing message.
extern const char HomepageUrl[];

/// One whole run: start-up, the walk over the source directories, the outputs,
/// the closing message and the key wait. Returns the exit code, always 0.
int RunGridcol(int argc, char **argv);

/// Start-up and the walk: loads the ADIF field catalogue "adif.txt", reads
/// "gridcol.ini" and runs every reader on every listed directory, with their
/// lines on the console and in the debug log. The extra outputs the settings
/// name are read after the "Dir:" lines, their warnings printed there, and
/// returned.
OutputSettings CollectSources();

/// The source directories listed in the group "directories" of the settings,
/// each announced with a "Dir:" line.
QStringList ReadDirectoryList(QSettings &settings);

/// Runs every reader on every listed directory, in list order and in the
/// fixed order of the readers, or says why a directory is skipped.
void ProcessSourceDirectories(QSettings &settings, const QStringList &directories);

/// Puts every process-wide table and setting back where a run starts: the
/// call database, the blacklist and the ADIF store empty (the catalogue
/// too), "now" and the wall clock fixed at moment, no debug log, the console
/// on standard output. A run never needs it; tests and fuzzers that handle
/// many inputs in one process call it before each.
void ResetRunState(const QDateTime &moment);

/// Writes the five outputs into the working directory, in the fixed order,
/// then the extra ones the settings name (tucnak, minos, n1mmhistory, map); what
/// these leave out goes to the debug log.
void WriteOutputs(const OutputSettings &outputs = OutputSettings());
