#include "testsupport.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/edilog.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

namespace {

const QString dataDirectory = QStringLiteral(GRIDCOL_TEST_DATA "/edilog");

QString DateText(const QDateTime &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("invalid");
}

/// The season of the golden cases: the real logs' contacts are from May 2016.
QDateTime Season()
{
    return QDateTime(QDate(2016, 6, 1), QTime(12, 0));
}

} // namespace

class TestEdiLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void headerLines_data();
    void headerLines();
    void qsoLine_data();
    void qsoLine();
    void golden_data();
    void golden();
    void missingFile();
    void hostileLines();
};

void TestEdiLog::headerLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("header"); // call|locator|date|whether the last line starts the QSO section

    // The date before any TDate line stands for "now"; here a fixed mark.
    QTest::newRow("keys as written") << QStringList { "PCall=DL1ABC", "PWWLo=JO62QM", "TDate=230520" }
                                     << "DL1ABC|JO62QM|1923-05-20 00:00|0";
    QTest::newRow("keys in any case") << QStringList { "pcall=dl1abc", "PWWLO=jo62qm", "tDaTe=950611" }
                                      << "dl1abc|jo62qm|1995-06-11 00:00|0";
    QTest::newRow("blank before the equals sign is no key")
        << QStringList { "PCall =DL1ABC", "PWWLo\t=JO62QM" } << "||2000-01-01 00:00|0";
    QTest::newRow("blank after the equals sign stays")
        << QStringList { "PCall= DL1ABC" } << " DL1ABC||2000-01-01 00:00|0";
    QTest::newRow("line simplified first") << QStringList { "   PCall=DL1ABC   \r\n", "PWWLo=JO62QM \t" }
                                           << "DL1ABC|JO62QM|2000-01-01 00:00|0";
    QTest::newRow("value ends at the second equals sign")
        << QStringList { "PCall=DL1ABC=X" } << "DL1ABC||2000-01-01 00:00|0";
    QTest::newRow("a later line replaces the earlier value")
        << QStringList { "PCall=DL1ABC", "PCall=DL9ZZZ", "PWWLo=JO62QM", "PWWLo=" } << "DL9ZZZ||2000-01-01 00:00|0";
    QTest::newRow("other keys are ignored") << QStringList { "RCall=DL1ABC", "PCalls=DL2ABC", "PCall" }
                                            << "||2000-01-01 00:00|0";
    QTest::newRow("section line") << QStringList { "[QSORecords;12]" } << "||2000-01-01 00:00|1";
    QTest::newRow("section line in any case, after blanks")
        << QStringList { "  [qsorecords;3]" } << "||2000-01-01 00:00|1";
    QTest::newRow("section line must start the line") << QStringList { "x[QSORecords;3]" } << "||2000-01-01 00:00|0";
    QTest::newRow("truncated section name") << QStringList { "[QSORecord" } << "||2000-01-01 00:00|0";
    // Real REG1TEST logs give first and last day in eight digits.
    QTest::newRow("two eight-digit days") << QStringList { "TDate=20230506;20230507" } << "||2023-05-06 00:00|0";
    QTest::newRow("one eight-digit day") << QStringList { "TDate=20160507" } << "||2016-05-07 00:00|0";
    QTest::newRow("two six-digit days") << QStringList { "TDate=230506;230507" } << "||1923-05-06 00:00|0";
    QTest::newRow("first day wrong, second right") << QStringList { "TDate=20231340;20230507" } << "||invalid|0";
    QTest::newRow("empty date") << QStringList { "TDate=" } << "||invalid|0";
    QTest::newRow("blank inside the date") << QStringList { "TDate=2023 0506;20230507" } << "||invalid|0";
}

void TestEdiLog::headerLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, header);
    EdiHeader parsed;
    parsed.ownDate = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    bool startsSection = false;
    for (const QString &line : lines)
        startsSection = ApplyEdiHeaderLine(line, parsed);
    const QStringList fields { parsed.ownCall, parsed.ownLocator, DateText(parsed.ownDate),
                               QString::number(startsSection) };
    QCOMPARE(fields.join(QLatin1Char('|')), header);
}

void TestEdiLog::qsoLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("qso"); // call|locator|date of a contact, else "skipped" or "end"

    QTest::newRow("full record") << "230520;1200;DL1ABC;1;59;001;59;002;;JO62QM;250;;;;\r\n"
                                 << "DL1ABC|JO62QM|1923-05-20 00:00";
    QTest::newRow("exactly ten fields")
        << "950611;1200;DL1ABC;1;59;001;59;002;;jo62qm" << "DL1ABC|jo62qm|1995-06-11 00:00";
    QTest::newRow("nine fields") << "230520;1200;DL1ABC;1;59;001;59;002;JO62QM" << "skipped";
    QTest::newRow("empty call") << "230520;1200;;1;59;001;59;002;;JO62QM;1" << "skipped";
    QTest::newRow("blank call") << "230520;1200; ;1;59;001;59;002;;JO62QM;1" << "skipped";
    QTest::newRow("empty locator") << "230520;1200;DL1ABC;1;59;001;59;002;;;1" << "skipped";
    QTest::newRow("fields simplified") << "230520;1200 ; dl1abc ;1;59;001;59;002;;  JO62QM  ;1"
                                       << "dl1abc|JO62QM|1923-05-20 00:00";
    QTest::newRow("blank inside the date field") << "230520 ;1200;DL1ABC;1;59;001;59;002;;JO62QM;1"
                                                 << "DL1ABC|JO62QM|invalid";
    QTest::newRow("leading blanks of the line go") << "   230520;1200;DL1ABC;1;59;001;59;002;;JO62QM;1"
                                                   << "DL1ABC|JO62QM|1923-05-20 00:00";
    QTest::newRow("unreadable date keeps the contact") << "2023-05-20;1200;DL1ABC;1;59;001;59;002;;JO62QM;1"
                                                       << "DL1ABC|JO62QM|invalid";
    QTest::newRow("year 79") << "790101;1200;DL1ABC;1;;;;;;JO62QM" << "DL1ABC|JO62QM|1979-01-01 00:00";
    QTest::newRow("year 80") << "800101;1200;DL1ABC;1;;;;;;JO62QM" << "DL1ABC|JO62QM|1980-01-01 00:00";
    QTest::newRow("empty line") << "\n" << "skipped";
    QTest::newRow("next section") << "[END;VUSC]" << "end";
    QTest::newRow("next section after blanks") << "  [Remarks]\r\n" << "end";
}

void TestEdiLog::qsoLine()
{
    QFETCH(QString, line);
    QFETCH(QString, qso);
    const EdiQsoLine parsed = ParseEdiQsoLine(line);
    const QString text = parsed.kind == EdiQsoLine::Contact
        ? QStringList({ parsed.call, parsed.locator, DateText(parsed.date) }).join(QLatin1Char('|'))
        : QLatin1String(parsed.kind == EdiQsoLine::SectionEnd ? "end" : "skipped");
    QCOMPARE(text, qso);
}

void TestEdiLog::golden_data()
{
    // Every "<case>.expected" names a log "<case>.edi" (any case of the
    // extension) or a directory "<case>" read as one source directory. It
    // holds the console text and the whole database; "<case>.log", where
    // present, the debug log.
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QDirIterator it(dataDirectory, { QStringLiteral("*.expected") }, QDir::Files, QDirIterator::Subdirectories);
    int rows = 0;
    for (; it.hasNext(); ++rows) {
        const QFileInfo expected(it.next());
        const QDir dir = expected.dir();
        const QString name = expected.completeBaseName();
        const QStringList logs = dir.entryList({ name + QStringLiteral(".edi") }, QDir::Files);
        const QString source = dir.filePath(logs.isEmpty() ? name : logs.first());
        QTest::newRow(qPrintable(dir.relativeFilePath(source))) << source << expected.filePath();
    }
    QVERIFY(rows >= 14);
}

void TestEdiLog::golden()
{
    QFETCH(QString, source);
    QFETCH(QString, expected);
    ResetProgramState(Season());
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    const QFileInfo info(source);
    QVERIFY(info.exists());
    if (info.isDir())
        ReadEdiFiles(source);
    else
        ReadEdiFile(info);
    COMPARE_TEXT(console.text() + DumpDatabase().join(QLatin1Char('\n')).toUtf8() + '\n', ReadFileBytes(expected));
    const QString logFile = expected.chopped(9) + QStringLiteral(".log");
    if (QFileInfo::exists(logFile))
        COMPARE_TEXT(log.text(), ReadFileBytes(logFile));
}

void TestEdiLog::missingFile()
{
    QTemporaryDir dir;
    StreamCapture console(StreamCapture::Console);
    QCOMPARE(ReadEdiFile(QFileInfo(dir.filePath("gone.edi"))), 0);
    QCOMPARE(console.text(), QByteArray("Processing gone.edi ... Fehler beim Oeffnen\n"));
}

void TestEdiLog::hostileLines()
{
    // Lines of 100 000 characters arrive in pieces of 98. In the header the
    // pieces are ignored; in the QSO section every piece of "a;a;a;..." has
    // more than ten fields and counts as a contact, whose date is invalid,
    // so the database drops it as too old.
    const QByteArray longText(100000, 'x');
    QByteArray longFields;
    for (int i = 0; i < 50000; ++i)
        longFields += "a;";
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("long.edi"),
                           "PCall=DL1AAA\n" + longText + "\nPWWLo=JO62QM\nTDate=250510\n[QSORecords;3]\n" + longText
                               + "\n250510;1400;DL2BBB;1;;;;;;JO51AB\n" + longFields
                               + "\n250511;1400;DL3CCC;1;;;;;;JN58XY\n"));
    // Binary garbage as QSO lines: none of its pieces of 98 bytes has ten fields.
    const QByteArray garbage = ReadFileBytes(dataDirectory + QStringLiteral("/broken-logs/d_garbage.edi"));
    QCOMPARE(garbage.size(), 16384);
    QVERIFY(WriteFileBytes(dir.filePath("zgarbage.edi"), "[QSORecords;1]\n" + garbage));
    StreamCapture console(StreamCapture::Console);
    ReadEdiFiles(dir.path());
    // 100 001 bytes with the line end: 1020 pieces of 98 and one of 41.
    QCOMPARE(console.text(), QByteArray("Processing long.edi ... 1023\nProcessing zgarbage.edi ... 0\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 10 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 1 11.05.2025" }));
}

GRIDCOL_TEST_MAIN(TestEdiLog)
#include "tst_edilog.moc"
