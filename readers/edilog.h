// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/datetext.h"

#include <QDateTime>
#include <QString>

struct SourceFile;

/// The date parsers of EDI logs, with their memory of earlier answers; one
/// for each thread that reads logs.
struct EdiDates
{
    DateTextParser shortDates { QStringLiteral("yyMMdd") };
    DateTextParser longDates { QStringLiteral("yyyyMMdd") };
};

/// What the header of one EDI contest log says about the logging station.
struct EdiHeader
{
    QString ownCall; ///< "PCall", as written
    QString ownLocator; ///< "PWWLo", as written
    QDateTime ownDate; ///< "TDate"; the moment of the run when the log has none
};

/// The per-line step of the header: applies a "PCall", "PWWLo" or "TDate"
/// line (keys in any case) to the header and returns true when the line
/// begins the QSO section ("[QSORecords", any case).
bool ApplyEdiHeaderLine(const QString &line, EdiHeader &header, EdiDates &dates);

/// The contest date of a "TDate" value. REG1TEST writes two eight-digit days
/// ("20230506;20230507"); older logs one six-digit day.
QDateTime ParseEdiHeaderDate(const QString &value, EdiDates &dates);

/// One line of the QSO section, as the reader takes it.
struct EdiQsoLine
{
    enum Kind {
        Contact, ///< a usable contact: call, locator and date are set
        Skipped, ///< fewer than ten fields, or an empty call or locator
        SectionEnd ///< a line beginning with "[": the QSO section is over
    };
    Kind kind = Skipped;
    QString call;
    QString locator;
    QDateTime date; ///< "yyMMdd"; invalid when the field does not match
};

/// The per-line step of the QSO section.
EdiQsoLine ParseEdiQsoLine(const QString &line, EdiDates &dates);

/// Reads every "*.edi" file of a source directory into the database.
void ReadEdiFiles(const QString &directory);

/// Reads one EDI log: its own station with weight 10, every contact that is
/// not blacklisted with weight 1. Returns the number of contacts handed on.
int ReadEdiFile(const SourceFile &file);
