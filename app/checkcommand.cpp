// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/checkcommand.h"

#include "app/commandline.h"
#include "app/driver.h"
#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/calldatabase.h"
#include "database/logcheck.h"
#include "readers/checkedlog.h"
#include "readers/sourcefiles.h"
#include "writers/checkreport.h"
#include "writers/mapfile.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace {

/// Builds the database with the collection's lines going nowhere: the
/// report is what the check prints.
void CollectQuietly()
{
    FILE *nowhere = std::fopen(QFile::encodeName(QProcess::nullDevice()).constData(), "w");
    if (nowhere)
        SetConsoleFile(nowhere);
    DebugLog = nullptr;
    CollectSources();
    SetConsoleFile(nullptr);
    if (nowhere)
        std::fclose(nowhere);
}

} // namespace

int RunCheck(int argc, char **argv, const CommandLine &commandLine)
{
    QCoreApplication application(argc, argv);
    // The run's moment and Qt's date handling are settled before any second thread starts.
    Clock::Now();
    PrepareDateHandling();

    bool unreadable = false;
    QVector<LogReport> reports;
    for (const QString &path : commandLine.logs) {
        CheckedLog log;
        QString error;
        if (!ReadCheckedLog(path, log, &error)) {
            std::fprintf(stderr, "gridcol: %s: %s\n", path.toLocal8Bit().constData(), error.toLocal8Bit().constData());
            unreadable = true;
            continue;
        }
        reports.append(ReportOf(log));
    }

    LeaveOutSourceFiles(commandLine.logs);
    CollectQuietly();

    const LogChecker checker(CallDatabase);
    bool suspect = false;
    for (LogReport &report : reports) {
        for (const CheckedQso &qso : report.qsos) {
            report.judgements.append(checker.judge(qso, report.locator, report.call));
            suspect = suspect || IsSuspect(report.judgements.constLast().verdict);
        }
        suspect = suspect || !report.problems.isEmpty();
    }

    const QByteArray text
        = commandLine.json ? CheckReportJson(reports, commandLine.all) : CheckReportText(reports, commandLine.all);
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size())
        || std::fflush(stdout) != 0) {
        std::fputs("gridcol: could not write to standard output\n", stderr);
        return 2;
    }
    // The map of the logs that could be read, saved as the run's outputs are.
    if (!commandLine.map.isEmpty() && !reports.isEmpty()) {
        const OutputLayout layout(CallDatabase);
        MapOptions options;
        options.moment = Clock::Now();
        if (!SaveOutputFile(commandLine.map, BuildMap(layout, reports, options), OutputMode::Text)) {
            std::fprintf(stderr, "gridcol: Could not write %s\n", commandLine.map.toLocal8Bit().constData());
            return 2;
        }
    }
    if (unreadable)
        return 2;
    return suspect ? 1 : 0;
}
