// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/logcheck.h"

#include <QString>
#include <QStringList>
#include <QVector>

/// A contest log to be checked, EDI (REG1TEST) or ADIF, told apart by its
/// content, not by its name.
struct CheckedLog
{
    QString file; ///< as given
    QString format; ///< "EDI" or "ADIF"
    QString call; ///< the logging station: PCall, or the ADIF records' STATION_CALLSIGN
    QString locator; ///< PWWLo, or the records' MY_GRIDSQUARE; empty when the log has none
    QVector<CheckedQso> qsos;
    int otherBands = 0; ///< ADIF records below 144 MHz, not checked
    /// QSOs that could not be read, each "line N: why" (ADIF: "record N: why").
    QStringList problems;
};

/// Reads a log. False, with *error saying why, when the file cannot be read
/// or is neither an EDI nor an ADIF log.
[[nodiscard]] bool ReadCheckedLog(const QString &path, CheckedLog &log, QString *error);

/// The QSOs and header of EDI text.
void ParseEdiForCheck(const QByteArray &bytes, CheckedLog &log);
/// The QSOs of ADIF bytes.
void ParseAdifForCheck(const QByteArray &bytes, CheckedLog &log);
