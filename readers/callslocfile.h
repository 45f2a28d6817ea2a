// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/datetext.h"

#include <QDateTime>
#include <QString>

#include <optional>

struct SourceFile;

/// gridcol's own database files "calls_loc*.dat" (the writer is
/// writers/callslocfile.h): one line "CALL,LOCATOR,dd.MM.yyyy,WEIGHT" per
/// call and locator.

/// One usable line of a calls_loc file: call, locator, last-seen date, weight.
struct CallsLocRecord
{
    QString call;
    QString locator;
    QDateTime date;
    int weight = 0;
};

/// The per-line step of the reader, with its own memory of dates.
class CallsLocLineParser
{
public:
    /// The record a decoded line yields, or nothing when the line is skipped
    /// (fewer than four fields, an empty call or locator, a weight that is
    /// not a positive integer).
    std::optional<CallsLocRecord> parse(const QString &line);

private:
    DateTextParser m_dates { QStringLiteral("dd.MM.yyyy") };
};

/// Reads every "calls_loc*.dat" file of a source directory into the database.
void ReadCallsLocFiles(const QString &directory);

/// Reads one calls_loc file into the database; returns the number of lines handed on.
int ReadCallsLocFile(const SourceFile &file);
