// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures the contest sources on a large archive of logs: EDI logs read
// against a large blacklist (the blacklist test runs once per contact), the
// blacklist test alone against a walk over the whole list, the field
// splitter of the configured imports, and a large configured import.
//
// Usage: bench_contest [contacts] [blacklist entries]   (defaults: 1000000, 20000)

#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"
#include "platform/platform.h"
#include "readers/blacklistfile.h"
#include "readers/delimitedfile.h"
#include "readers/edilog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

quint32 seed = 4711;

quint32 Next()
{
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
}

QByteArray CallOf(quint32 n)
{
    return "DL" + QByteArray::number(n % 10) + 'X' + QByteArray::number(n);
}

/// One EDI log of a station with the given number of contacts.
QByteArray MakeEdiLog(int station, int contacts, int calls)
{
    QByteArray out = "[REG1TEST;1]\r\nTDate=20260502;20260503\r\nPCall=" + CallOf(quint32(station))
        + "\r\nPWWLo=JO62QM\r\n[QSORecords;" + QByteArray::number(contacts) + "]\r\n";
    for (int i = 0; i < contacts; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "2605%02d;%04d;%s;1;59;%03d;59;%03d;;JO%c%c%02u;%u;;N;N;\r\n",
                      2 + int(Next() % 2), int(Next() % 2400), CallOf(Next() % quint32(calls)).constData(), i % 1000,
                      int(Next() % 1000), char('A' + Next() % 18), char('A' + Next() % 18), Next() % 100,
                      Next() % 900);
        out += line;
    }
    return out + "[END;bench]\r\n";
}

QByteArray MakeCsv(int lines, int calls)
{
    QByteArray out = "Date;Call;Name;QTH;Locator\n";
    for (int i = 0; i < lines; ++i) {
        out += QByteArray::number(1 + Next() % 28) + ".05.2026;\"" + CallOf(Next() % quint32(calls))
            + "\";Name;\"Town; district\";JO" + char('A' + Next() % 18) + char('A' + Next() % 18)
            + QByteArray::number(10 + Next() % 90) + '\n';
    }
    return out;
}

bool WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

void Report(const char *what, qint64 ns, qint64 items, const char *unit)
{
    const double seconds = double(ns) / 1e9;
    std::printf("%-48s %8.3f s  %12.0f %s/s\n", what, seconds, double(items) / seconds, unit);
}

/// The blacklist test as a walk over the list, for comparison only.
bool WalkBlacklist(const QString &workedCall, const QString &ownCall, const QDateTime &date)
{
    const QDate day = RepairCentury(date).date();
    for (const BlacklistEntry &entry : Blacklist.entries()) {
        if (entry.ownCall == ownCall && entry.workedCall == workedCall && entry.date.date() == day)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    Platform::PrepareProcess(argv);
    QCoreApplication application(argc, argv);
    PrepareDateHandling();
    const int contacts = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 20000;
    const int calls = 50000;
    const int perLog = 1000;
    const int logs = qMax(1, contacts / perLog);

    Clock::SetNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    FILE *devNull = std::fopen(QFile::encodeName(QProcess::nullDevice()).constData(), "w");
    SetConsoleFile(devNull);
    QTemporaryDir dir;
    QElapsedTimer timer;

    qint64 bytes = 0;
    for (int i = 0; i < logs; ++i) {
        const QByteArray log = MakeEdiLog(i % 500, perLog, calls);
        bytes += log.size();
        if (!WriteFile(dir.filePath(QStringLiteral("log%1.edi").arg(i)), log))
            return 1;
    }
    QByteArray blacklist;
    for (int i = 0; i < entries; ++i) {
        blacklist += CallOf(Next() % 500) + ' ' + CallOf(Next() % quint32(calls)) + " 2026-05-0"
            + QByteArray::number(2 + Next() % 2) + '\n';
    }
    if (!WriteFile(dir.filePath(QStringLiteral("big.blacklist")), blacklist))
        return 1;
    std::printf("%d EDI logs, %d contacts, %.1f MB; blacklist of %d entries\n", logs, logs * perLog, bytes / 1e6,
                entries);

    timer.start();
    ReadEdiFiles(dir.path());
    Report("read EDI logs, empty blacklist", timer.nsecsElapsed(), qint64(logs) * perLog, "contacts");

    CallDatabase.clear();
    timer.start();
    ReadBlacklistFile(dir.filePath(QStringLiteral("big.blacklist")), Blacklist);
    Report("read the blacklist", timer.nsecsElapsed(), entries, "lines");
    SetConsoleFile(devNull);
    timer.start();
    ReadEdiFiles(dir.path());
    Report("read EDI logs against the blacklist", timer.nsecsElapsed(), qint64(logs) * perLog, "contacts");

    // The test alone: the index against a walk over the list.
    const int questions = 200000;
    QVector<QString> own(questions), worked(questions);
    QVector<QDateTime> dates(questions);
    for (int i = 0; i < questions; ++i) {
        own[i] = QString::fromLatin1(CallOf(Next() % 500));
        worked[i] = QString::fromLatin1(CallOf(Next() % quint32(calls)));
        dates[i] = QDateTime(QDate(1926, 5, 2 + int(Next() % 2)), QTime(0, 0));
    }
    int hits = 0;
    timer.start();
    for (int i = 0; i < questions; ++i)
        hits += IsBlacklisted(Blacklist, worked.at(i), own.at(i), dates.at(i)) ? 1 : 0;
    Report("IsBlacklisted (index)", timer.nsecsElapsed(), questions, "questions");
    const int walkQuestions = questions / 20;
    int walkHits = 0, indexHits = 0;
    timer.start();
    for (int i = 0; i < walkQuestions; ++i)
        walkHits += WalkBlacklist(worked.at(i), own.at(i), dates.at(i)) ? 1 : 0;
    Report("walk over the list, for comparison", timer.nsecsElapsed(), walkQuestions, "questions");
    for (int i = 0; i < walkQuestions; ++i)
        indexHits += IsBlacklisted(Blacklist, worked.at(i), own.at(i), dates.at(i)) ? 1 : 0;
    std::printf("hits: %d of %d (walk and index agree on the first %d: %s)\n", hits, questions, walkQuestions,
                walkHits == indexHits ? "yes" : "NO");

    // The field splitter: its pattern built once, against one built per line.
    const QString line = QStringLiteral("14.05.2026;\"DL1ABC\";Peter;\"Town; district\";JO62QM;144.300;SSB\n");
    const int splits = 200000;
    int fields = 0;
    timer.start();
    const FieldSplitter splitter(QLatin1Char(';'));
    for (int i = 0; i < splits; ++i)
        fields += splitter.split(line).size();
    Report("FieldSplitter (pattern built once)", timer.nsecsElapsed(), splits, "lines");
    const int slowSplits = splits / 20;
    timer.start();
    for (int i = 0; i < slowSplits; ++i) {
        const QRegularExpression pattern(QStringLiteral("(?:^|;)(\"(?:[^\"]++|\"\")*\"|[^;]*)"));
        QRegularExpressionMatchIterator matches = pattern.globalMatch(line);
        while (matches.hasNext())
            fields += matches.next().capturedLength(1) > 0 ? 1 : 0;
    }
    Report("pattern built per line, for comparison", timer.nsecsElapsed(), slowSplits, "lines");

    CallDatabase.clear();
    const int csvLines = contacts;
    const QByteArray csv = MakeCsv(csvLines, calls);
    QTemporaryDir csvDir;
    if (!WriteFile(csvDir.filePath(QStringLiteral("big.csv")), csv))
        return 1;
    timer.start();
    AsciiImportDescription description;
    description.pattern = QStringLiteral("*.csv");
    description.delimiter = QStringLiteral(";");
    description.callColumn = 1;
    description.locatorColumn = 4;
    description.dateColumn = 0;
    description.dateFormat = QStringLiteral("dd.MM.yyyy");
    description.headerLines = 1;
    ImportAsciiFiles(csvDir.path(), description);
    Report("configured import of a semicolon file", timer.nsecsElapsed(), csvLines, "lines");
    std::printf("database: %d calls (%d fields split)\n", CallDatabase.size(), fields);

    SetConsoleFile(nullptr);
    std::fclose(devNull);
    return 0;
}
