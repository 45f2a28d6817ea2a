#include "testsupport.h"

#include "database/calldatabase.h"
#include "readers/callslocfile.h"
#include "writers/n1mmfile.h"

#include <QDir>
#include <QTemporaryDir>

class TestCallsLocFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void parseLine_data();
    void parseLine();
    void readFile_data();
    void readFile();
    void directoryReadsEveryMatch();
    void unreadableEntry();
    void writerRanksLocators();
    void roundTrip();
    void bundledFileWritesBackUnchanged();
};

void TestCallsLocFile::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("record"); // "call|locator|dd.MM.yyyy|weight", "" when skipped

    QTest::newRow("plain") << "DL1ABC,JO62QM,01.05.2026,3\n" << "DL1ABC|JO62QM|01.05.2026|3";
    QTest::newRow("lower case stays for the database to raise")
        << "dl1abc,jo62qm,01.05.2026,3" << "dl1abc|jo62qm|01.05.2026|3";
    QTest::newRow("blanks around call, locator and weight")
        << "  DL1ABC ,\tJO62QM ,01.05.2026,  3 \r\n" << "DL1ABC|JO62QM|01.05.2026|3";
    QTest::newRow("blank before the date makes it invalid") << "DL1ABC,JO62QM, 01.05.2026,3"
                                                            << "DL1ABC|JO62QM||3";
    QTest::newRow("date that does not parse is kept invalid") << "DL1ABC,JO62QM,2026-05-01,3"
                                                              << "DL1ABC|JO62QM||3";
    QTest::newRow("impossible day") << "DL1ABC,JO62QM,31.02.2026,3" << "DL1ABC|JO62QM||3";
    QTest::newRow("inner blanks collapse") << "DL1   ABC,JO62 QM,01.05.2026,1" << "DL1 ABC|JO62 QM|01.05.2026|1";
    QTest::newRow("fields after the fourth are ignored") << "DL1ABC,JO62QM,01.05.2026,3,x,,y"
                                                         << "DL1ABC|JO62QM|01.05.2026|3";
    QTest::newRow("three fields") << "DL1ABC,JO62QM,01.05.2026" << "";
    QTest::newRow("empty line") << "\n" << "";
    QTest::newRow("empty call") << " ,JO62QM,01.05.2026,3" << "";
    QTest::newRow("empty locator") << "DL1ABC,,01.05.2026,3" << "";
    QTest::newRow("weight zero") << "DL1ABC,JO62QM,01.05.2026,0" << "";
    QTest::newRow("negative weight") << "DL1ABC,JO62QM,01.05.2026,-2" << "";
    QTest::newRow("weight with letters") << "DL1ABC,JO62QM,01.05.2026,3x" << "";
    QTest::newRow("weight with decimals") << "DL1ABC,JO62QM,01.05.2026,3.0" << "";
    QTest::newRow("weight beyond int") << "DL1ABC,JO62QM,01.05.2026,99999999999" << "";
    QTest::newRow("largest weight") << "DL1ABC,JO62QM,01.05.2026,2147483647"
                                    << "DL1ABC|JO62QM|01.05.2026|2147483647";
    QTest::newRow("semicolons are no separators") << "DL1ABC;JO62QM;01.05.2026;3" << "";
}

void TestCallsLocFile::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, record);
    const std::optional<CallsLocRecord> parsed = ParseCallsLocLine(line);
    if (record.isEmpty()) {
        QVERIFY(!parsed);
        return;
    }
    QVERIFY(parsed);
    QCOMPARE(QStringLiteral("%1|%2|%3|%4")
                 .arg(parsed->call, parsed->locator, parsed->date.toString(QStringLiteral("dd.MM.yyyy")))
                 .arg(parsed->weight),
             record);
}

void TestCallsLocFile::readFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("dump");

    QTest::newRow("LF and CR LF, last line without line end")
        << QByteArray("DL1ABC,JO62QM,01.05.2026,3\r\nDK2XY,JN58TD,02.05.2026,1\nF6KQR,JN18EU,03.05.2026,1")
        << 2 << QStringList { "DL1ABC JO62QM 3 01.05.2026", "DK2XY JN58TD 1 02.05.2026" };
    QTest::newRow("too old lines are counted but not kept")
        << QByteArray("DL1ABC,JO62QM,01.05.2019,3\nDK2XY,JN58TD,02.05.2026,1\n") << 2
        << QStringList { "DK2XY JN58TD 1 02.05.2026" };
    QTest::newRow("weights of repeated lines add up")
        << QByteArray("dl1abc,jo62qm,01.05.2026,3\nDL1ABC,JO62QM,07.05.2026,4\n") << 2
        << QStringList { "DL1ABC JO62QM 7 07.05.2026" };
    // 98 characters a read: the rest of a long line is a line of its own.
    QTest::newRow("long line in pieces")
        << QByteArray("DL1ABC,JO62QM,01.05.2026,3" + QByteArray(72, ' ') + "DK2XY,JN58TD,02.05.2026,5\n")
        << 2 << QStringList { "DL1ABC JO62QM 3 01.05.2026", "DK2XY JN58TD 5 02.05.2026" };
    QTest::newRow("NUL bytes end the text of a line")
        << QByteArray("DL1ABC,JO62QM,01.05.2026,3\0garbage\nDK2XY,JN\0\0,02.05.2026,1\n", 60) << 1
        << QStringList { "DL1ABC JO62QM 3 01.05.2026" };
    QTest::newRow("invalid UTF-8 becomes replacement characters")
        << QByteArray("DL\xff\xfe" "1,JO62QM,01.05.2026,2\n") << 1
        << QStringList { QString::fromUtf8("DL\xef\xbf\xbd\xef\xbf\xbd" "1 JO62QM 2 01.05.2026") };
    QTest::newRow("10 000 character lines")
        << QByteArray(10000, 'A') + "\n" + QByteArray(10000, ',') + "\nDK2XY,JN58TD,02.05.2026,1\n" << 1
        << QStringList { "DK2XY JN58TD 1 02.05.2026" };
    QTest::newRow("binary garbage") << QByteArray::fromHex("00ff10ad0a0d0a2c2c2c0a41422c43442c45462c390a") << 1
                                    << QStringList {};
}

void TestCallsLocFile::readFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    QFETCH(QStringList, dump);

    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat")), content));
    StreamCapture console(StreamCapture::Console);
    QCOMPARE(ReadCallsLocFile(QFileInfo(dir.filePath(QStringLiteral("calls_loc.dat")))), count);
    QCOMPARE(DumpDatabase(), dump);
    QCOMPARE(console.text(), QStringLiteral("calls_loc.dat found, processing ... \n"
                                            "calls_loc.dat found, read  ...  %1 Call/Locator combinations\n")
                                 .arg(count)
                                 .toUtf8());
}

void TestCallsLocFile::directoryReadsEveryMatch()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat")), "A1,AA00,01.05.2026,1\n"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("CALLS_LOC_OLD.DAT")), "A1,AA00,01.04.2026,2\nB2,BB00,01.04.2026,1\n"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat.bak")), "C3,CC00,01.05.2026,1\n"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("calls_loc_dir.dat")));

    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ReadCallsLocFiles(dir.path());
    COMPARE_TEXT(console.text(),
                 "calls_loc.dat found, processing ... \n"
                 "calls_loc.dat found, read  ...  1 Call/Locator combinations\n"
                 "CALLS_LOC_OLD.DAT found, processing ... \n"
                 "calls_loc.dat found, read  ...  2 Call/Locator combinations\n");
    COMPARE_TEXT(log.text(),
                 "Processing calls_loc.dat \n"
                 "A1 AA00 01.05.2026\n"
                 "Processing CALLS_LOC_OLD.DAT \n"
                 "A1 AA00 01.04.2026\n"
                 "B2 BB00 01.04.2026\n");
    QCOMPARE(DumpDatabase(), QStringList({ "A1 AA00 3 01.05.2026", "B2 BB00 1 01.04.2026" }));
}

void TestCallsLocFile::unreadableEntry()
{
    QTemporaryDir dir;
    StreamCapture console(StreamCapture::Console);
    QCOMPARE(ReadCallsLocFile(QFileInfo(dir.filePath(QStringLiteral("calls_loc_gone.dat")))), 0);
    QCOMPARE(console.text(), QByteArray("calls_loc_gone.dat found, processing ... \n"));
}

void TestCallsLocFile::writerRanksLocators()
{
    AddCallLocator(QStringLiteral("OK1KPA"), QStringLiteral("JO60LJ"), Day("06.09.2025 10:00"), 9);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QM"), Day("01.01.2024"), 5);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QN"), Day("01.01.2026"), 1);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62RM"), Day("01.01.2025"), 2);
    BuildN1mmText();
    COMPARE_TEXT(BuildCallsLocDat(),
                 "DL1ABC,JO62QN,01.01.2026,1\n"
                 "DL1ABC,JO62QM,01.01.2024,5\n"
                 "DL1ABC,JO62RM,01.01.2025,2\n"
                 "OK1KPA,JO60LJ,06.09.2025,9\n");
    // The stored order is left as it was.
    QCOMPARE(CallDatabase.at(0).locators.at(0).locator, QStringLiteral("JO62QM"));
}

void TestCallsLocFile::roundTrip()
{
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QM"), Day("14.05.2026 18:30"), 12);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QN"), Day("05.09.2025 07:00"), 1);
    AddCallLocator(QStringLiteral("DL1 ABC"), QStringLiteral("JO62"), Day("05.09.2025"), 2);
    AddCallLocator(QStringLiteral("9A2AA"), QStringLiteral("JN75EV"), Day("29.03.2026 03:30"), 7);
    AddCallLocator(QString::fromUtf8("\xc3\x84" "1X"), QStringLiteral("JN75EV"), Day("29.03.2026"), 3);
    BuildN1mmText();
    const QStringList before = DumpDatabase();

    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat")), BuildCallsLocDat()));
    ResetProgramState();
    StreamCapture console(StreamCapture::Console);
    ReadCallsLocFiles(dir.path());
    BuildN1mmText();
    QStringList after = DumpDatabase();
    QCOMPARE(after, QStringList({ "9A2AA JN75EV 7 29.03.2026", "DL1 ABC JO62 2 05.09.2025",
                                  "DL1ABC JO62QM 12 14.05.2026", "DL1ABC JO62QN 1 05.09.2025",
                                  QString::fromUtf8("\xc3\x84" "1X JN75EV 3 29.03.2026") }));
    // Same records; only the stored locator order follows the file's ranked order.
    QStringList sortedBefore = before;
    sortedBefore.sort();
    after.sort();
    QCOMPARE(after, sortedBefore);
}

void TestCallsLocFile::bundledFileWritesBackUnchanged()
{
    const QString path = QStringLiteral(GRIDCOL_TEST_DATA "/callslocfile/written.dat");
    StreamCapture console(StreamCapture::Console);
    QCOMPARE(ReadCallsLocFile(QFileInfo(path)), 11);
    BuildN1mmText();
    COMPARE_TEXT(BuildCallsLocDat(), ReadFileBytes(path));
}

GRIDCOL_TEST_MAIN(TestCallsLocFile)
#include "tst_callslocfile.moc"
