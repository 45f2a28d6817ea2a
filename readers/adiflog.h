// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "adif/adifdatabase.h"
#include "readers/sourcefiles.h"

#include <QDateTime>
#include <QStringList>
#include <QStringView>

#include <cstdio>
#include <thread>

class CallList;

/// ADIF logs "*.adi": each log is read into the process-wide ADIF store (the
/// parser of adif/) and every record on 144 MHz and above with a call and a
/// locator goes to the database with weight 1 and its QSO_DATE.

/// The frequency in MHz a band name stands for, compared without regard to
/// case ("2m" 144.0, "70cm" 432.0, ...); 0.0 for any other name.
double BandFrequency(QStringView band);

/// The frequency in MHz of an ADIF record: its FREQ value as a number with
/// "." as decimal point, or where that gives 0.0 the frequency of its BAND.
double ContactFrequency(QStringView freq, QStringView band);

/// Hands every record of store on 144 MHz and above that has a call and a
/// locator to database with weight 1; records without call or locator are
/// reported in log (when not null). now is the run's moment. Returns how many
/// were handed on.
int ImportAdifRecords(AdifDataBase &store, CallList &database, FILE *log, const QDateTime &now);

/// Reads one ADIF log into the process-wide ADIF store, emptied first, and
/// imports its records, with the console and log lines of its turn. Returns
/// the number of records handed on.
int ImportAdifFile(const SourceFile &file);

/// The ADIF logs of a run, each imported in its directory's turn, exactly as
/// reading one log after another into the process-wide ADIF store and
/// importing it would: the same console, log, database and store.
///
/// Reading a log is most of the work, so it is done beside other work where
/// there is some, in a store of its own on a second thread, which the
/// process-wide store takes over in the log's turn. The schedule:
///
/// - The run's first log is read from the start of the run when anything is
///   read before its turn: when its directory is not the first listed, or
///   has EDI logs.
/// - The first log of any other directory is read from the moment the
///   directory is entered when it has EDI logs.
/// - While a log is imported, the next log of its directory is read.
/// - A directory's last log, unless it was read ahead, is imported block by
///   block on a second thread while it is read, the import's log lines kept
///   aside until the read is done, so that they land after the record count
///   as when the log is read first. (Alone, a log is read faster on the
///   thread that imports it: the C library gives that thread's memory faster.)
///
/// A store read ahead starts from a copy of the process-wide store's field
/// catalogue, so that the log's fields get the positions they would get
/// there. Nothing but this import touches the process-wide ADIF store during a
/// run; should its catalogue have changed all the same by the log's turn, the
/// log is read again there.
class AdifLogImports
{
public:
    /// The run's directory list; starts reading the run's first log at once
    /// where the schedule says so.
    explicit AdifLogImports(const QStringList &directories);
    ~AdifLogImports();
    AdifLogImports(const AdifLogImports &) = delete;
    AdifLogImports &operator=(const AdifLogImports &) = delete;

    /// Directory index is entered: lists its logs and, where the schedule
    /// says so, starts reading its first.
    void enter(int index);
    /// Imports the logs of the directory entered last.
    void import();

private:
    /// Starts reading log index of m_files into m_ahead on m_reader.
    void readAhead(int index);
    /// Waits for the log read ahead; false when the store's catalogue changed
    /// since the read began, and the read is of no use.
    bool finishReadAhead();

    const QStringList m_directories;
    int m_early = -1; ///< the directory whose first log is read from the start of the run
    SourceFileList m_earlyFiles; ///< its logs, until it is entered
    SourceFileList m_files; ///< the logs of the directory entered last
    AdifDataBase m_ahead;
    int m_aheadResult = 0;
    int m_aheadCatalogue = 0; ///< the field count the read ahead started from
    std::thread m_reader;
};
