#include "testsupport.h"

#include "app/clock.h"
#include "app/console.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"
#include "readers/edilog.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

QString DateText(const QDateTime &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("invalid");
}

QString RealDataDirectory()
{
    return QStringLiteral(GRIDCOL_TEST_DATA "/edilog/real");
}

/// The season of the real logs: their contacts are from May 2016.
QDateTime RealLogSeason()
{
    return QDateTime(QDate(2016, 6, 1), QTime(12, 0));
}

const char smallLog[] = "[REG1TEST;1]\r\n"
                        "TName=Test\r\n"
                        "TDate=20250510;20250511\r\n"
                        "PCall=DL1AAA\r\n"
                        "PWWLo=JO62QM\r\n"
                        "[Remarks]\r\n"
                        "[QSORecords;2]\r\n"
                        "250510;1400;DL2BBB;1;59;001;59;002;;JO51AB;100;;;;\r\n"
                        "250511;0800;DL3CCC;1;59;002;59;010;;JN58XY;300;;;;\r\n"
                        "[END;test]\r\n";

} // namespace

class TestEdiLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void headerLine_data();
    void headerLine();
    void headerDate_data();
    void headerDate();
    void qsoLine_data();
    void qsoLine();
    void realLog_data();
    void realLog();
    void realDirectory();
    void twoDigitYears_data();
    void twoDigitYears();
    void logLines();
    void sectionEndsTheReading();
    void logWithoutQsoSection_data();
    void logWithoutQsoSection();
    void missingFile();
    void binaryGarbage();
    void hugeLine();
    void invalidUtf8();
};

void TestEdiLog::headerLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("ownCall");
    QTest::addColumn<QString>("ownLocator");
    QTest::addColumn<QString>("ownDate");
    QTest::addColumn<bool>("lastStartsSection");

    // The date before any TDate line stands for "now"; here a fixed mark.
    const QString none = QStringLiteral("2000-01-01 00:00");
    QTest::newRow("keys as written") << QStringList { "PCall=DL1ABC", "PWWLo=JO62QM", "TDate=230520" }
                                     << "DL1ABC" << "JO62QM" << "1923-05-20 00:00" << false;
    QTest::newRow("keys in any case") << QStringList { "pcall=dl1abc", "PWWLO=jo62qm", "tDaTe=950611" }
                                      << "dl1abc" << "jo62qm" << "1995-06-11 00:00" << false;
    QTest::newRow("blank before the equals sign is no key")
        << QStringList { "PCall =DL1ABC", "PWWLo\t=JO62QM" } << "" << "" << none << false;
    QTest::newRow("blank after the equals sign stays in the value")
        << QStringList { "PCall= DL1ABC" } << " DL1ABC" << "" << none << false;
    QTest::newRow("line simplified first")
        << QStringList { "   PCall=DL1ABC   \r\n", "PWWLo=JO62QM \t" } << "DL1ABC" << "JO62QM" << none << false;
    QTest::newRow("value ends at the second equals sign")
        << QStringList { "PCall=DL1ABC=X" } << "DL1ABC" << "" << none << false;
    QTest::newRow("no equals sign, empty value")
        << QStringList { "PCall", "PWWLo=" } << "" << "" << none << false;
    QTest::newRow("a later line replaces the earlier value")
        << QStringList { "PCall=DL1ABC", "PCall=DL9ZZZ", "PWWLo=JO62QM", "PWWLo=" }
        << "DL9ZZZ" << "" << none << false;
    QTest::newRow("other keys are ignored") << QStringList { "RCall=DL1ABC", "PCalls=DL2ABC", "[REG1TEST;1]" }
                                            << "" << "" << none << false;
    QTest::newRow("section line") << QStringList { "[QSORecords;12]" } << "" << "" << none << true;
    QTest::newRow("section line in any case, after blanks")
        << QStringList { "  [qsorecords;3]" } << "" << "" << none << true;
    QTest::newRow("section line must start the line")
        << QStringList { "x[QSORecords;3]" } << "" << "" << none << false;
    QTest::newRow("truncated section name") << QStringList { "[QSORecord" } << "" << "" << none << false;
}

void TestEdiLog::headerLine()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, ownCall);
    QFETCH(QString, ownLocator);
    QFETCH(QString, ownDate);
    QFETCH(bool, lastStartsSection);

    EdiHeader header;
    header.ownDate = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    bool startsSection = false;
    for (const QString &line : lines)
        startsSection = ApplyEdiHeaderLine(line, header);
    QCOMPARE(header.ownCall, ownCall);
    QCOMPARE(header.ownLocator, ownLocator);
    QCOMPARE(DateText(header.ownDate), ownDate);
    QCOMPARE(startsSection, lastStartsSection);
}

void TestEdiLog::headerDate_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("date");

    QTest::newRow("six digits") << "230520" << "1923-05-20 00:00";
    QTest::newRow("two eight-digit days") << "20230506;20230507" << "2023-05-06 00:00";
    QTest::newRow("one eight-digit day") << "20160507" << "2016-05-07 00:00";
    QTest::newRow("two six-digit days") << "230506;230507" << "1923-05-06 00:00";
    QTest::newRow("first day wrong, second right") << "20231340;20230507" << "invalid";
    QTest::newRow("text") << "May 2023" << "invalid";
    QTest::newRow("empty") << "" << "invalid";
    QTest::newRow("blank inside") << "2023 0506;20230507" << "invalid";
}

void TestEdiLog::headerDate()
{
    QFETCH(QString, value);
    QFETCH(QString, date);
    QCOMPARE(DateText(ParseEdiHeaderDate(value)), date);
}

void TestEdiLog::qsoLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("locator");
    QTest::addColumn<QString>("date");

    const int contact = EdiQsoLine::Contact;
    const int skipped = EdiQsoLine::Skipped;
    const int end = EdiQsoLine::SectionEnd;

    QTest::newRow("full record") << "230520;1200;DL1ABC;1;59;001;59;002;;JO62QM;250;;;;\r\n"
                                 << contact << "DL1ABC" << "JO62QM" << "1923-05-20 00:00";
    QTest::newRow("exactly ten fields") << "950611;1200;DL1ABC;1;59;001;59;002;;jo62qm"
                                        << contact << "DL1ABC" << "jo62qm" << "1995-06-11 00:00";
    QTest::newRow("nine fields") << "230520;1200;DL1ABC;1;59;001;59;002;JO62QM" << skipped << "" << "" << "invalid";
    QTest::newRow("empty call") << "230520;1200;;1;59;001;59;002;;JO62QM;1" << skipped << "" << "" << "invalid";
    QTest::newRow("blank call") << "230520;1200; ;1;59;001;59;002;;JO62QM;1" << skipped << "" << "" << "invalid";
    QTest::newRow("empty locator") << "230520;1200;DL1ABC;1;59;001;59;002;;;1" << skipped << "" << "" << "invalid";
    QTest::newRow("fields simplified")
        << "230520;1200 ; dl1abc ;1;59;001;59;002;;  JO62QM  ;1" << contact << "dl1abc" << "JO62QM"
        << "1923-05-20 00:00";
    QTest::newRow("blank inside the date field")
        << "230520 ;1200;DL1ABC;1;59;001;59;002;;JO62QM;1" << contact << "DL1ABC" << "JO62QM" << "invalid";
    QTest::newRow("leading blanks of the line go")
        << "   230520;1200;DL1ABC;1;59;001;59;002;;JO62QM;1" << contact << "DL1ABC" << "JO62QM"
        << "1923-05-20 00:00";
    QTest::newRow("unreadable date keeps the contact")
        << "2023-05-20;1200;DL1ABC;1;59;001;59;002;;JO62QM;1" << contact << "DL1ABC" << "JO62QM" << "invalid";
    QTest::newRow("year 79") << "790101;1200;DL1ABC;1;;;;;;JO62QM" << contact << "DL1ABC" << "JO62QM"
                             << "1979-01-01 00:00";
    QTest::newRow("year 80") << "800101;1200;DL1ABC;1;;;;;;JO62QM" << contact << "DL1ABC" << "JO62QM"
                             << "1980-01-01 00:00";
    QTest::newRow("empty line") << "\n" << skipped << "" << "" << "invalid";
    QTest::newRow("next section") << "[END;VUSC]" << end << "" << "" << "invalid";
    QTest::newRow("next section after blanks") << "  [Remarks]\r\n" << end << "" << "" << "invalid";
}

void TestEdiLog::qsoLine()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QString, call);
    QFETCH(QString, locator);
    QFETCH(QString, date);

    const EdiQsoLine qso = ParseEdiQsoLine(line);
    QCOMPARE(int(qso.kind), kind);
    if (qso.kind != EdiQsoLine::Contact)
        return;
    QCOMPARE(qso.call, call);
    QCOMPARE(qso.locator, locator);
    QCOMPARE(DateText(qso.date), date);
}

void TestEdiLog::realLog_data()
{
    QTest::addColumn<QString>("file");
    const QDir dir(RealDataDirectory());
    const QStringList logs = dir.entryList({ "*.edi" }, QDir::Files);
    QVERIFY(logs.size() >= 9);
    for (const QString &log : logs)
        QTest::newRow(qPrintable(log)) << dir.filePath(log);
}

void TestEdiLog::realLog()
{
    QFETCH(QString, file);
    ResetProgramState(RealLogSeason());
    const QFileInfo info(file);
    const QString expectedFile = info.dir().filePath(info.completeBaseName() + QStringLiteral(".expected"));

    StreamCapture console(StreamCapture::Console);
    ReadEdiFile(info);
    const QByteArray actual = console.text() + DumpDatabase().join(QLatin1Char('\n')).toUtf8() + '\n';
    COMPARE_TEXT(actual, ReadFileBytes(expectedFile));
}

void TestEdiLog::realDirectory()
{
    // All logs of one directory in listing order: stations worked from
    // several logs add up, the upper-case extension is read too.
    ResetProgramState(RealLogSeason());
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(RealDataDirectory());
    const QByteArray actual = console.text() + DumpDatabase().join(QLatin1Char('\n')).toUtf8() + '\n';
    COMPARE_TEXT(actual, ReadFileBytes(QStringLiteral(GRIDCOL_TEST_DATA "/edilog/real-directory.expected")));
}

void TestEdiLog::twoDigitYears_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("dump");

    QTest::newRow("now 2026") << TestNow()
                              << QStringList { "OWN1 JO62QM 10 20.05.2023", "A1 AA00 1 20.05.2023",
                                               "A4 AA00 1 01.01.2079" };
    QTest::newRow("now 1997") << QDateTime(QDate(1997, 6, 1), QTime(12, 0))
                              << QStringList { "OWN1 JO62QM 10 20.05.2023", "A1 AA00 1 20.05.2023",
                                               "A2 AA00 1 11.06.1995", "A4 AA00 1 01.01.2079" };
}

void TestEdiLog::twoDigitYears()
{
    QFETCH(QDateTime, now);
    QFETCH(QStringList, dump);
    ResetProgramState(now);

    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("years.edi"),
                           "TDate=230520\nPCall=OWN1\nPWWLo=JO62QM\n[QSORecords;4]\n"
                           "230520;1200;A1;1;;;;;;AA00\n"
                           "950611;1200;A2;1;;;;;;AA00\n"
                           "800101;1200;A3;1;;;;;;AA00\n"
                           "790101;1200;A4;1;;;;;;AA00\n"));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    // Every contact is counted, whether or not the database keeps it.
    QCOMPARE(console.text(), QByteArray("Processing years.edi ... 4\n"));
    QCOMPARE(DumpDatabase(), dump);
}

void TestEdiLog::logLines()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("small.edi"), smallLog));
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ReadEdiFiles(dir.path());
    QCOMPARE(console.text(), QByteArray("Processing small.edi ... 2\n"));
    COMPARE_TEXT(log.text(), "Process small.edi \n"
                             "DL1AAA JO62QM 10.05.2025\n"
                             "DL2BBB JO51AB 10.05.2025\n"
                             "DL3CCC JN58XY 11.05.2025\n");
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 10 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 1 11.05.2025" }));
}

void TestEdiLog::sectionEndsTheReading()
{
    // A contact after the closing section line, and a station worked twice.
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("twice.edi"),
                           "PCall=DL1AAA\nPWWLo=JO62QM\n[QSORecords;3]\n"
                           "250510;1400;DL2BBB;1;;;;;;JO51AB\n"
                           "250511;1400;dl2bbb;1;;;;;;jo51ab\n"
                           "[END;x]\n"
                           "250512;1400;DL4DDD;1;;;;;;JO40AA\n"));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    QCOMPARE(console.text(), QByteArray("Processing twice.edi ... 2\n"));
    // Without a TDate line the own station is dated with the moment of the run.
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 10 15.06.2026", "DL2BBB JO51AB 2 11.05.2025" }));
}

void TestEdiLog::logWithoutQsoSection_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no section at all") << QByteArray("PCall=DL1AAA\r\nPWWLo=JO62QM\r\nTDate=250510\r\n");
    QTest::newRow("section line without line end")
        << QByteArray("PCall=DL1AAA\r\nPWWLo=JO62QM\r\nTDate=250510\r\n[QSORecords;1]");
    QTest::newRow("misspelt section") << QByteArray("PCall=DL1AAA\nPWWLo=JO62QM\nTDate=250510\n[QSORecord;1]\n"
                                                    "250510;1400;DL2BBB;1;;;;;;JO51AB\n");
}

void TestEdiLog::logWithoutQsoSection()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("a_broken.edi"), content));
    QVERIFY(WriteFileBytes(dir.filePath("b_good.edi"), smallLog));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    // The own station of the broken log is kept, its line gets a count, and
    // the next log of the directory is read.
    QCOMPARE(console.text(), QByteArray("Processing a_broken.edi ... 0\nProcessing b_good.edi ... 2\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 20 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 1 11.05.2025" }));
}

void TestEdiLog::missingFile()
{
    QTemporaryDir dir;
    StreamCapture console(StreamCapture::Console);
    QCOMPARE(ReadEdiFile(QFileInfo(dir.filePath("gone.edi"))), 0);
    QCOMPARE(console.text(), QByteArray("Processing gone.edi ... Fehler beim Oeffnen\n"));

    // A directory named like a log is no log.
    QVERIFY(QDir(dir.path()).mkdir("folder.edi"));
    ReadEdiFiles(dir.path());
    QCOMPARE(console.text(), QByteArray("Processing gone.edi ... Fehler beim Oeffnen\n"));
    QVERIFY(CallDatabase.isEmpty());
}

void TestEdiLog::binaryGarbage()
{
    // Random bytes with every value except those that could form a header
    // key or a section line, so that the outcome is known: nothing.
    QRandomGenerator random(4711);
    QByteArray garbage;
    while (garbage.size() < 256 * 1024) {
        const char c = char(random.bounded(256));
        if (c != '=' && c != '[')
            garbage.append(c);
    }
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("garbage.edi"), garbage));
    QVERIFY(WriteFileBytes(dir.filePath("good.edi"), smallLog));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    QCOMPARE(console.text(), QByteArray("Processing garbage.edi ... 0\nProcessing good.edi ... 2\n"));
    QCOMPARE(CallDatabase.size(), 3);

    // Garbage inside the QSO section may yield junk contacts, but no crash.
    QVERIFY(WriteFileBytes(dir.filePath("good.edi"), QByteArray("[QSORecords;1]\n") + garbage));
    ReadEdiFiles(dir.path());
}

void TestEdiLog::hugeLine()
{
    // Lines of 100 000 characters arrive in pieces of 98. In the header the
    // pieces are ignored; in the QSO section every piece of "a;a;a;..." has
    // more than ten fields and counts as a contact, whose date is invalid,
    // so the database drops it as too old.
    const QByteArray longText(100000, 'x');
    QByteArray longFields;
    for (int i = 0; i < 50000; ++i)
        longFields += "a;";
    const QByteArray content = "PCall=DL1AAA\n" + longText + "\nPWWLo=JO62QM\nTDate=250510\n[QSORecords;3]\n"
        + longText + "\n250510;1400;DL2BBB;1;;;;;;JO51AB\n" + longFields + "\n250511;1400;DL3CCC;1;;;;;;JN58XY\n";
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("long.edi"), content));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    // 100 001 bytes with the line end: 1020 pieces of 98 and one of 41.
    QCOMPARE(console.text(), QByteArray("Processing long.edi ... 1023\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 10 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 1 11.05.2025" }));
}

void TestEdiLog::invalidUtf8()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("bad.edi"), "TName=\xff\xfe\xc3\n"
                                                    "PCall=DL\xff" "1AAA\nPWWLo=JO62QM\nTDate=250510\n"
                                                    "[QSORecords;2]\n"
                                                    "250510;1400;DL2\xc3(BB;1;;;;;;JO51AB\n"
                                                    "250510;1400;DL3CCC;1;;;;;;JN\xe2\x82" "58\n"));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    QCOMPARE(console.text(), QByteArray("Processing bad.edi ... 2\n"));
    // Invalid bytes become replacement characters, as Qt decodes them.
    QCOMPARE(DumpDatabase(), QStringList({ QString::fromUtf8("DL\xef\xbf\xbd" "1AAA JO62QM 10 10.05.2025"),
                                           QString::fromUtf8("DL2\xef\xbf\xbd(BB JO51AB 1 10.05.2025"),
                                           QString::fromUtf8("DL3CCC JN\xef\xbf\xbd\xef\xbf\xbd" "58 1 10.05.2025") }));
}

GRIDCOL_TEST_MAIN(TestEdiLog)
#include "tst_edilog.moc"
