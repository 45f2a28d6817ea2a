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

    void write_data();
    void write();
    void writeFailures();
    void headerTime();
    void roundTrip_data();
    void roundTrip();
};

void TestAdifWriter::write_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<QString>("select"); // a pattern for the first field, written with onlySelected
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("no records, just the header") << "" << 0 << "" << QByteArray();
    QTest::newRow("catalogue order, not the order values were set")
        << "CALL=A|QSO_DATE=20260101;CALL=N0CALL" << 0 << ""
        << QByteArray("<CALL:1>A<eor>\n\n<CALL:6>N0CALL<QSO_DATE:8>20260101<eor>\n\n");
    QTest::newRow("empty values and missing positions write nothing")
        << "CALL=A1;BAND=|MODE=CW" << 0 << "" << QByteArray("<CALL:2>A1<eor>\n\n<MODE:2>CW<eor>\n\n");
    QTest::newRow("a record without values") << "|CALL=B" << 0 << "" << QByteArray("<eor>\n\n<CALL:1>B<eor>\n\n");
    QTest::newRow("names upper case, lengths in characters, the local encoding")
        << QString::fromUtf8("name=J\xc3\xbcrgen \xf0\x9f\x98\x80") << 0 << ""
        << QByteArray("<NAME:9>J\xc3\xbcrgen \xf0\x9f\x98\x80<eor>\n\n");
    QTest::newRow("values as they are, blanks and line ends included")
        << "NOTES= a <b>\n c " << 0 << "" << QByteArray("<NOTES:10> a <b>\n c <eor>\n\n");
    QTest::newRow("CR LF inside a value is written as LF")
        << "NOTES=a\r\nb\rc" << 0 << "" << QByteArray("<NOTES:5>a\nb\rc<eor>\n\n");
    QTest::newRow("only the selected records")
        << "CALL=A|CALL=B|CALL=C" << 0 << "[AC]" << QByteArray("<CALL:1>A<eor>\n\n<CALL:1>C<eor>\n\n");
    QTest::newRow("a selection without records") << "CALL=A|CALL=B" << 0 << "X" << QByteArray();

    // Tags of 12 characters; a line ends where the tags since the last line end are longer than the width.
    const QString tags = QStringLiteral("CALL=ABCD;BAND=70CM;MODE=RTTY");
    QTest::newRow("width 0: no line ends")
        << tags << 0 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 20: after the second tag")
        << tags << 20 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM\n<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 24: exactly full is not more")
        << tags << 24 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY\n<eor>\n\n");
    QTest::newRow("negative width: after every tag")
        << tags << -1 << "" << QByteArray("<CALL:4>ABCD\n<BAND:4>70CM\n<MODE:4>RTTY\n<eor>\n\n");
}

void TestAdifWriter::write()
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

void TestAdifWriter::writeFailures()
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

void TestAdifWriter::headerTime()
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

void TestAdifWriter::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &file : QDir(logFolder).entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file;
}

void TestAdifWriter::roundTrip()
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

GRIDCOL_TEST_MAIN(TestAdifWriter)
#include "tst_adifwriter.moc"
