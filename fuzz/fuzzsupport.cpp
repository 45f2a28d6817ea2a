// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fuzzsupport.h"

#include "adif/adifdatabase.h"
#include "app/driver.h"
#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/calldatabase.h"
#include "readers/textlinereader.h"
#include "readers/vhfdtb.h"
#include "writers/callslocdbg.h"
#include "writers/callslocfile.h"
#include "database/locatororder.h"
#include "writers/loggerfields.h"
#include "writers/minosfile.h"
#include "writers/n1mmfile.h"
#include "writers/n1mmhistory.h"
#include "writers/outputlayout.h"
#include "writers/superchecklist.h"
#include "writers/tucnakfile.h"
#include "writers/vhfdtb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <ctime>

/// One fixed environment for the whole process, set before Qt looks at the
/// locale or the time zone: the same as the test suite's.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    // Qt gets a copy of the program name only: the fuzzer's flags are not its business.
    static int qtArgc = 1;
    static char *qtArgv[] = { *argc > 0 ? (*argv)[0] : nullptr, nullptr };
    static QCoreApplication application(qtArgc, qtArgv);
    PrepareDateHandling();
    return 0;
}

namespace Fuzz {

namespace {

FILE *NullStream()
{
    static FILE *const stream = std::fopen("/dev/null", "w");
    return stream;
}

} // namespace

QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

void BeginInput()
{
    ResetRunState(QDateTime(QDate(2026, 6, 15), QTime(12, 0)));
    SetConsoleFile(NullStream());
    DebugLog = NullStream();
}

QString ScratchDir(const QString &name)
{
    static QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/gridcol-fuzz-XXXXXX"));
    if (!scratch.isValid())
        Fail("scratch directory", scratch.errorString());
    const QString path = scratch.filePath(name);
    if (!QDir().mkpath(path))
        Fail("scratch directory", path);
    return path;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        Fail("writing the input file", path);
}

void Fail(const char *check, const QString &detail)
{
    std::fprintf(stderr, "\n==gridcol== check failed: %s\n%s\n", check, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QList<QByteArray> PlainLines(const QByteArray &bytes, int bufferSize)
{
    QByteArray text = bytes;
    text.replace("\r\n", "\n");
    const int limit = bufferSize - 1;
    QList<QByteArray> lines;
    int pos = 0;
    while (limit > 0 && pos < text.size()) {
        const int newline = text.indexOf('\n', pos);
        const int take = qMin((newline < 0 ? text.size() : newline + 1) - pos, limit);
        if (newline < 0 && take < limit)
            break;
        lines << text.mid(pos, take);
        pos += take;
    }
    return lines;
}

void CheckLineReader(const QString &path, const QByteArray &bytes, int bufferSize)
{
    TextLineReader reader(bufferSize);
    if (!reader.open(path))
        Fail("line reader: open", path);
    QList<QByteArray> lines;
    QByteArray line;
    while (reader.readLine(line))
        lines << line;
    const QList<QByteArray> expected = PlainLines(bytes, bufferSize);
    if (lines != expected)
        Fail("line reader against plain lines",
             QStringLiteral("%1 pieces read, %2 expected").arg(lines.size()).arg(expected.size()));
}

void CheckCallIndex()
{
    const int count = CallDatabase.size();
    // Walking for every call costs count squared; big databases are checked in part.
    const int walked = qMin(count, 300);
    auto walk = [count](const QString &call) {
        for (int j = 0; j < count; ++j) {
            if (CallDatabase.at(j).call == call)
                return j;
        }
        return -1;
    };
    for (int i = 0; i < count; ++i) {
        const CallEntry &entry = CallDatabase.at(i);
        if (FindCall(entry.call) != i || entry.locators.isEmpty())
            Fail("call index", entry.call);
        if (i < walked) {
            if (walk(entry.call) != i)
                Fail("call index against walking the list: a call twice", entry.call);
            const QString probe = entry.call.toLower() + QLatin1Char('x');
            if (FindCall(probe) != walk(probe))
                Fail("call index against walking the list", probe);
        }
    }
}

void CheckFieldIndex(AdifDataBase &store, const QString &name)
{
    for (const QString &spelling : { name, name.toLower(), name.toUpper() }) {
        const int count = store.FieldCount();
        int expected = count;
        for (int j = 0; j < count; ++j) {
            if (QString::compare(store.FieldName(j), spelling, Qt::CaseInsensitive) == 0) {
                expected = j;
                break;
            }
        }
        const int found = store.FieldIndex(spelling);
        const int added = expected == count ? 1 : 0;
        if (found != expected || store.FieldCount() != count + added)
            Fail("FieldIndex against a case-insensitive walk",
                 spelling + QStringLiteral(": %1, walk %2").arg(found).arg(expected));
    }
}

void BuildOutputs()
{
    const OutputLayout layout(CallDatabase);
    const QByteArray n1mm = BuildN1mmText(layout);
    for (int i = 1; i < CallDatabase.size(); ++i) {
        if (!(CallDatabase.at(i - 1).call < CallDatabase.at(i).call))
            Fail("sorted by call", CallDatabase.at(i).call);
    }
    CheckCallIndex();
    // Two outputs against their text built whole, the locators ranked anew,
    // and converted to the local encoding in one piece.
    QString n1mmText, datText;
    DayTexts days;
    for (const CallEntry &entry : CallDatabase) {
        const QVector<LocatorEntry> ranked = RankedLocators(entry);
        n1mmText += entry.call + QLatin1String(";;") + ranked.at(0).locator;
        if (ranked.size() >= 2)
            n1mmText += QLatin1Char(';') + ranked.at(1).locator + QLatin1Char(';');
        n1mmText += QLatin1Char('\n');
        for (const LocatorEntry &locator : ranked)
            datText += entry.call + QLatin1Char(',') + locator.locator + QLatin1Char(',') + days.text(locator.date)
                + QLatin1Char(',') + QString::number(locator.weight) + QLatin1Char('\n');
    }
    if (n1mm != n1mmText.toLocal8Bit())
        Fail("n1mm_qth.txt against its text converted whole", n1mmText);
    if (BuildCallsLocDat(layout) != datText.toLocal8Bit())
        Fail("calls_loc.dat against its text converted whole", datText);
    BuildCallsLocListing(layout);
    BuildSuperCheckList(layout);
    if (BuildVhfDtb(layout, Clock::Now()).size() % VhfDtb::recordSize != 0)
        Fail("vhf.dtb: whole records");
    // The files for other loggers: the call history has its first line and
    // one line for every call it does not leave out.
    BuildTucnakFile(layout);
    BuildMinosFile(layout);
    DayBytes historyDays(N1mmHistoryDateFormat());
    LeftOutCount leftOut;
    QByteArray history;
    AppendN1mmHistory(layout, 0, layout.size(), history, historyDays, leftOut);
    if (history.count('\n') != 1 + layout.size() - leftOut.calls)
        Fail("n1mm_history.txt: a line for every call written");
}

} // namespace Fuzz
