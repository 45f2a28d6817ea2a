// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures the paths that grow with the size of a user's archive: reading a
// large calls_loc.dat (each line through AddCallLocator), with and without the
// debug log, and the output phase that ranks and writes the whole database.
//
// Usage: bench_database [lines] [calls]   (defaults: 1000000 lines, 100000 calls)

#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/calldatabase.h"
#include "platform/platform.h"
#include "readers/callslocfile.h"
#include "readers/sourcefiles.h"
#include "writers/callslocdbg.h"
#include "writers/callslocfile.h"
#include "writers/n1mmfile.h"
#include "writers/outputlayout.h"
#include "writers/superchecklist.h"
#include "writers/vhfdtb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray MakeArchive(int lines, int calls)
{
    QByteArray out;
    out.reserve(lines * 32);
    quint32 seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int i = 0; i < lines; ++i) {
        const int call = int(next() % quint32(calls));
        const char square = char('A' + next() % 18);
        const int day = 1 + int(next() % 28);
        const int month = 1 + int(next() % 12);
        const int year = 2023 + int(next() % 4);
        char line[64];
        std::snprintf(line, sizeof line, "DL%dX,JO%c%d,%02d.%02d.%04d,%d\n", call, square, int(next() % 10), day,
                      month, year, 1 + int(next() % 9));
        out += line;
    }
    return out;
}

void Report(const char *what, qint64 ns, qint64 items, qint64 bytes)
{
    const double seconds = double(ns) / 1e9;
    std::printf("%-40s %8.3f s  %10.0f lines/s", what, seconds, double(items) / seconds);
    if (bytes > 0)
        std::printf("  %7.1f MB/s", double(bytes) / 1e6 / seconds);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    Platform::PrepareProcess(argv);
    QCoreApplication application(argc, argv);
    PrepareDateHandling();
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int calls = argc > 2 ? std::atoi(argv[2]) : 100000;

    Clock::SetNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    QTemporaryDir dir;
    const QByteArray archive = MakeArchive(lines, calls);
    const QString path = dir.filePath(QStringLiteral("calls_loc.dat"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size())
        return 1;
    file.close();
    std::printf("archive: %d lines, %d distinct calls, %.1f MB\n", lines, calls, archive.size() / 1e6);

    FILE *devNull = std::fopen(QFile::encodeName(QProcess::nullDevice()).constData(), "w");
    SetConsoleFile(devNull);
    QElapsedTimer timer;

    timer.start();
    ReadCallsLocFile(SourceFile { QStringLiteral("calls_loc.dat"), path });
    Report("read calls_loc.dat, no log", timer.nsecsElapsed(), lines, archive.size());
    const int entries = CallDatabase.size();

    CallDatabase.clear();
    DebugLog = devNull;
    timer.start();
    ReadCallsLocFile(SourceFile { QStringLiteral("calls_loc.dat"), path });
    Report("read calls_loc.dat, log to the null device", timer.nsecsElapsed(), lines, archive.size());
    DebugLog = nullptr;

    timer.start();
    const OutputLayout layout(CallDatabase);
    const QByteArray n1mm = BuildN1mmText(layout);
    const QByteArray listing = BuildCallsLocListing(layout);
    const QByteArray scp = BuildSuperCheckList(layout);
    const QByteArray dat = BuildCallsLocDat(layout);
    const QByteArray dtb = BuildVhfDtb(layout, Clock::Now());
    Report("build the five outputs", timer.nsecsElapsed(), entries, 0);
    std::printf("database: %d calls; outputs %d + %d + %d + %d + %d bytes\n", entries, int(n1mm.size()),
                int(listing.size()), int(scp.size()), int(dat.size()), int(dtb.size()));
    SetConsoleFile(nullptr);
    std::fclose(devNull);
    return 0;
}
