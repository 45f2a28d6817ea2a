// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

class QSettings;

/// The group [outputs] of gridcol.ini names the extra files a run writes for
/// other loggers: each key a kind of file, its value the file name, relative
/// to the working directory. A kind not listed is not written. The group is
/// gridcol's own and describes no delimited files.
struct OutputSettings
{
    QString tucnak; ///< "tucnak": Tucnak's call database (writers/tucnakfile.h)
    QString minos; ///< "minos": a Minos archive call list (writers/minosfile.h)
    QString n1mmHistory; ///< "n1mmhistory": an N1MM+ call history (writers/n1mmhistory.h)
    QString map; ///< "map": the map of the database (writers/mapfile.h)
    QString home; ///< "home": the own locator, for the map; a setting, not a file
    QStringList warnings; ///< one line each, without its line end
};

/// Reads the group "outputs" of the settings; keys are matched as the
/// settings reader gives them (without regard to case on Windows, where it
/// ignores the case of names). Passed over, each with a warning: an unknown
/// key; an empty value; and a file name that would overwrite something: one
/// of gridcol's own files in the working directory (the five outputs,
/// gridcol.dbg, gridcol.ini, adif.txt), a file in one of directories (as
/// ReadDirectoryList() gives them) that a reader of the run would read, or
/// the file of an output named before it (in the order tucnak, minos,
/// n1mmhistory, map). Names are compared as the system compares them: without
/// regard to case on Windows, and source patterns as the readers match them.
/// A folder, or a path whose folder does not exist, is not refused here: its
/// save fails with "Could not write".
OutputSettings ReadOutputSettings(QSettings &settings, const QStringList &directories);
