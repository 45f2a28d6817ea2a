// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "testsupport.h"

#include "base/clock.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

/*
 * The ADIF writer: what it writes of records, where writing fails, the time
 * in its header, and real logs read, written and read back.
 */

namespace {

QByteArray Write(const AdifDataBase &store, int lineWidth = 0, bool onlySelected = false,
                 const AdifProgress &progress = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return store.WriteAdifFile(buffer, lineWidth, onlySelected, progress) == 0 ? bytes : "<failed>";
}

} // namespace

class TestAdifWriter : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    // The records as Store() reads them; a pattern for the first field, written with onlySelected.
    void write_data() { AddRows("adifwriter/write.tsv"); }

    void write()
    {
        QFETCH(QString, records);
        QFETCH(int, lineWidth);
        QFETCH(QString, select);
        QFETCH(QByteArray, written);
        if (LocalEncodingDiffers(written))
            QSKIP("the local 8-bit encoding is not UTF-8");

        AdifDataBase store;
        if (!records.isEmpty())
            Store(store, records);
        // Without an active selection onlySelected writes every record.
        const QByteArray all = Write(store, lineWidth);
        if (!select.isEmpty())
            store.SelectMatching(0, select, false);
        QList<int> progress;
        COMPARE_TEXT(Write(store, lineWidth, true, [&](int n) { progress << n; }),
                     "ADIF File exported by Pevrax\n15-Jun-2026 12:00\n<eoh>" + written);
        QCOMPARE(progress.size(), int(written.count("<eor>")));
        for (int i = 0; i < progress.size(); ++i)
            QCOMPARE(progress.at(i), i + 1);
        QCOMPARE(Write(store, lineWidth), all);
    }

    void writeFailures()
    {
        // A missing folder, a folder in the way, a device not open for writing, a full device.
        QTemporaryDir dir;
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("folder.adi"))));
        AdifDataBase store;
        Store(store, QStringLiteral("CALL=DL1ABC"));
        for (const char *path : { "missing/log.adi", "folder.adi" })
            QCOMPARE(store.WriteAdifFile(dir.filePath(QLatin1String(path)), 0, false, nullptr), -1);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.adi"))).isDir());
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QCOMPARE(store.WriteAdifFile(readOnly, 0, false, nullptr), -1);
        QFile full(QStringLiteral("/dev/full"));
        if (full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            QCOMPARE(store.WriteAdifFile(full, 0, false, nullptr), -1);
    }

    void headerTime()
    {
        // Each write shows its own time, not the run's "now"; unfixed, the system clock's.
        AdifDataBase store;
        for (const char *moment : { "15.06.2026 12:01", "16.06.2026 09:30", "" }) {
            Clock::SetWallTime(Day(moment));
            const QDateTime shown = Day(moment).isValid() ? Day(moment) : QDateTime::currentDateTime();
            const QByteArray time = shown.toString(QStringLiteral("dd-MMM-yyyy HH:mm")).toUtf8();
            QCOMPARE(Write(store), "ADIF File exported by Pevrax\n" + time + "\n<eoh>");
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &file : QDir(logFolder).entryList(QDir::Files))
            QTest::newRow(qPrintable(file)) << file;
    }

    void roundTrip()
    {
        QFETCH(QString, name);
        // Read, written to a file (replacing what was there) and read back, a log
        // keeps every value; a second round writes the same bytes again.
        AdifDataBase store;
        QCOMPARE(store.ReadAdifFile(logFolder + name, nullptr, nullptr), 0);
        QVERIFY(store.RecordCount() > 0);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(WriteFileBytes(path, QByteArray(100000, 'x')));
        QCOMPARE(store.WriteAdifFile(path, 80, false, nullptr), 0);
        AdifDataBase back;
        QCOMPARE(back.ReadAdifFile(path, nullptr, nullptr), 0);
        QCOMPARE(Records(back), Records(store));
        const QByteArray written = Write(back, 30);
        AdifDataBase third;
        Read(third, written);
        QCOMPARE(Write(third, 30), written);
    }
};

GRIDCOL_TEST_MAIN(TestAdifWriter)
#include "tst_adifwriter.moc"
