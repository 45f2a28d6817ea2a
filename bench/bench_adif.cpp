// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading big ADIF logs: generates a synthetic contest-style log of the
// requested size in a temporary directory, then times parsing it into a
// store, importing it into the call/locator database and writing it back.
//
// Usage: bench_adif [megabytes]   (default 100)

#include "adif/adifdatabase.h"
#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/calldatabase.h"
#include "readers/adiflog.h"
#include "readers/sourcefiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

/// A log of about the given size: a header and records of a dozen fields,
/// CR LF line ends, a mix of HF and VHF bands, some without locator.
QByteArray SyntheticLog(qint64 bytes)
{
    static const char *const bands[][2]
        = { { "20m", "14.074" },   { "40m", "7.074" },     { "2m", "144.300" },
            { "70cm", "432.200" }, { "23cm", "1296.200" }, { "6m", "50.313" } };
    static const char *const modes[] = { "SSB", "CW", "FT8", "FM" };
    QByteArray log;
    log.reserve(int(qMin<qint64>(bytes + 4096, 0x7ff00000)));
    log += "Synthetic contest log for bench_adif\r\n<ADIF_VER:5>3.1.4\r\n"
           "<PROGRAMID:10>bench_adif\r\n<EOH>\r\n\r\n";
    quint32 seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    int n = 0;
    while (log.size() < bytes) {
        const quint32 r = next();
        const auto &band = bands[r % 6];
        const QByteArray call = "D" + QByteArray(1, char('A' + r % 26)) + QByteArray::number(r % 10)
            + QByteArray(1, char('A' + (r >> 5) % 26)) + QByteArray(1, char('A' + (r >> 10) % 26))
            + QByteArray(1, char('A' + (r >> 15) % 26));
        const QByteArray locator = QByteArray(1, char('A' + r % 18))
            + QByteArray(1, char('A' + (r >> 4) % 18))
            + QByteArray::number((r >> 8) % 100).rightJustified(2, '0')
            + QByteArray(1, char('a' + (r >> 12) % 24)) + QByteArray(1, char('a' + (r >> 16) % 24));
        const QByteArray date = "2026" + QByteArray::number(1 + (r >> 3) % 5).rightJustified(2, '0')
            + QByteArray::number(1 + (r >> 7) % 28).rightJustified(2, '0');
        const QByteArray serial = QByteArray::number(++n % 1000).rightJustified(3, '0');
        auto tag = [&log](const char *name, const QByteArray &value) {
            log += '<';
            log += name;
            log += ':';
            log += QByteArray::number(value.size());
            log += '>';
            log += value;
            log += ' ';
        };
        tag("CALL", call);
        tag("QSO_DATE", date);
        tag("TIME_ON", "1234");
        tag("BAND", band[0]);
        tag("FREQ", band[1]);
        tag("MODE", modes[r % 4]);
        tag("RST_SENT", "59");
        tag("RST_RCVD", "59");
        tag("STX", serial);
        tag("SRX", serial);
        if (r % 7 != 0)
            tag("GRIDSQUARE", locator);
        tag("OPERATOR", "DL0XX");
        tag("COMMENT", "synthetic record for timing");
        log += "<EOR>\r\n";
    }
    return log;
}

long PeakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void PrintRate(const char *what, qint64 bytes, int records, qint64 ms)
{
    const double seconds = qMax<qint64>(ms, 1) / 1000.0;
    std::printf("%-8s %8.1f MB in %7.3f s: %7.1f MB/s, %9.0f records/s\n", what, bytes / 1e6,
                seconds, bytes / 1e6 / seconds, records / seconds);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    PrepareDateHandling();
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    if (megabytes <= 0 || megabytes > 1500) {
        std::fprintf(stderr, "usage: bench_adif [megabytes 1..1500]\n");
        return 2;
    }
    Clock::SetNow(QDateTime(QDate(2026, 6, 15), QTime(12, 0)));

    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("bench.adi"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(SyntheticLog(megabytes * 1000 * 1000)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const qint64 size = QFileInfo(path).size();

    QElapsedTimer timer;
    AdifDataBase store;
    timer.start();
    store.ReadAdifFile(path, nullptr, nullptr);
    PrintRate("parse", size, store.RecordCount(), timer.elapsed());

    const QString written = directory.filePath(QStringLiteral("written.adi"));
    timer.start();
    store.WriteAdifFile(written, 0, false, nullptr);
    PrintRate("write", QFileInfo(written).size(), store.RecordCount(), timer.elapsed());
    const int records = store.RecordCount();
    store.ClearRecords();

    // The import's console line is not part of the figures.
    std::FILE *quiet = std::fopen(QFile::encodeName(QProcess::nullDevice()).constData(), "w");
    SetConsoleFile(quiet);
    timer.start();
    const int accepted = ImportAdifFile(SourceFile { QStringLiteral("bench.adi"), path });
    const qint64 importMs = timer.elapsed();
    SetConsoleFile(nullptr);
    if (quiet)
        std::fclose(quiet);
    PrintRate("import", size, records, importMs);
    std::printf("records %d, accepted %d, calls in database %d, peak memory %ld MiB\n", records,
                accepted, CallDatabase.size(), PeakMemoryKiB() / 1024);
    return 0;
}
