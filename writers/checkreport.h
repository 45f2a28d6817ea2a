// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/logcheck.h"
#include "readers/checkedlog.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

/// The report of gridcol --check, as text for the contester and as JSON for
/// other programs.

/// One checked log with the verdict on each of its QSOs.
struct LogReport
{
    QString file;
    QString format; ///< "EDI" or "ADIF"
    QString call;
    QString locator;
    QVector<CheckedQso> qsos;
    QVector<QsoJudgement> judgements; ///< one for each QSO, in the same order
    QStringList problems; ///< QSOs that could not be read
    int otherBands = 0; ///< QSOs below 144 MHz, not checked
};

/// The report of a log read, its QSOs not judged yet.
LogReport ReportOf(const CheckedLog &log);

/// The QSOs a report lists, by position: the suspects first, by the points
/// at stake (the QRB, largest first, unknown last), then the others in log
/// order; the plainly OK ones only with all.
QVector<int> ListedQsos(const LogReport &log, bool all);

/// True when a QSO is plainly OK: verdict OK and no QRB hint.
bool IsPlainlyOk(const QsoJudgement &judgement);

/// The text report: per log a header, one line per listed QSO, the
/// problems, and a summary line; a blank line between logs.
QByteArray CheckReportText(const QVector<LogReport> &logs, bool all);

/// The same as one JSON document: an object whose "logs" is a list of logs
/// (file, format, call, locator, qsos, problems, summary), each QSO an object
/// (date, time, call, locator, qrb, verdict, evidence), and a "summary" of the
/// counts of every verdict over all logs.
QByteArray CheckReportJson(const QVector<LogReport> &logs, bool all);
