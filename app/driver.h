#pragma once

#include <QDateTime>
#include <QString>

class QSettings;

/// The program's homepage, named in the closing message.
extern const char HomepageUrl[];

/// One whole run: start-up, the walk over the source directories, the outputs,
/// the closing message and the key wait. Returns the exit code, always 0.
int RunGridcol(int argc, char **argv);

/// The source directories listed in the group "directories" of the settings,
/// each announced with a "Dir:" line.
QStringList ReadDirectoryList(QSettings &settings);

class AdifLogImport;

/// Runs every reader on one listed directory, in the fixed order, or says why
/// it is skipped. adifLogs, when not null, is the directory's ADIF import,
/// made ahead of time; it is run in its place.
void ProcessSourceDirectory(QSettings &settings, const QString &directory, AdifLogImport *adifLogs = nullptr);

/// Puts every process-wide table and setting back where a run starts: the
/// call database, the blacklist and the ADIF store empty (the catalogue
/// too), "now" and the wall clock fixed at moment, no debug log, the console
/// on standard output. A run never needs it; tests and fuzzers that handle
/// many inputs in one process call it before each.
void ResetRunState(const QDateTime &moment);

/// Writes the five outputs into the working directory, in the fixed order.
void WriteOutputs();
