#include "testsupport.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/asciiimport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString RecordText(const std::optional<AsciiRecord> &record)
{
    if (!record)
        return QString();
    const QString date = record->date.isValid() ? record->date.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                : QStringLiteral("invalid");
    return QStringLiteral("%1|%2|%3").arg(record->call, record->locator, date);
}

QString DescriptionText(const AsciiImportDescription &d)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
        .arg(d.pattern, d.delimiter)
        .arg(d.callColumn)
        .arg(d.locatorColumn)
        .arg(d.dateColumn)
        .arg(d.weight)
        .arg(d.dateFormat)
        .arg(d.headerLines)
        .arg(d.originDate.isValid() ? d.originDate.toString(Qt::ISODate) : QStringLiteral("invalid"));
}

const char settingsText[] = "[directories]\n"
                            "first=sources\n"
                            "\n"
                            "[*.csv]\n"
                            "delimiter=\";\"\n"
                            "call=1\n"
                            "locator=4\n"
                            "date=0\n"
                            "dateFormat=dd.MM.yyyy\n"
                            "headerLines=1\n";

} // namespace

class TestAsciiImport : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void splitDelimitedLine_data();
    void splitDelimitedLine();
    void stripFieldQuotes_data();
    void stripFieldQuotes();
    void delimiter_data();
    void delimiter();
    void lineParser_data();
    void lineParser();
    void description_data();
    void description();
    void configuredGroup();
    void groupWithoutKeysOrDate();
    void callColumnBeyondEveryLine();
    void fileEndsInHeader();
    void expLine_data();
    void expLine();
    void expFiles();
};

void TestAsciiImport::splitDelimitedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("fields");

    const QChar comma = QLatin1Char(',');
    QTest::newRow("plain") << "a,b,c" << comma << QStringList { "a", "b", "c" };
    QTest::newRow("empty line, one empty field") << "" << comma << QStringList { "" };
    QTest::newRow("line feed alone") << "\n" << comma << QStringList { "" };
    QTest::newRow("line feed is not part of the last field") << "a,b\n" << comma << QStringList { "a", "b" };
    QTest::newRow("carriage return stays") << "a,b\r" << comma << QStringList { "a", "b\r" };
    QTest::newRow("two separators in a row") << "a,,b" << comma << QStringList { "a", "", "b" };
    QTest::newRow("separator at the end") << "a,b," << comma << QStringList { "a", "b", "" };
    QTest::newRow("separator at the start") << ",a" << comma << QStringList { "", "a" };
    QTest::newRow("separator inside quotes") << "\"a,b\",c" << comma << QStringList { "a,b", "c" };
    QTest::newRow("doubled quotes stay doubled")
        << "\"say \"\"hi\"\"\",x" << comma << QStringList { "say \"\"hi\"\"", "x" };
    QTest::newRow("text after the closing quote is dropped") << "\"ab\"cd,e" << comma << QStringList { "ab", "e" };
    QTest::newRow("quoted empty field") << "x,\"\"" << comma << QStringList { "x", "" };
    QTest::newRow("two pairs of quotes: the pattern takes the first pair")
        << "\"\"DL1ABC\"\"" << comma << QStringList { "" };
    QTest::newRow("three pairs of quotes") << "\"\"\"DL1ABC\"\"\"" << comma << QStringList { "\"\"DL1ABC\"\"" };
    QTest::newRow("blanks around a quoted field")
        << " \"a\" ,b" << comma << QStringList { " \"a\" ", "b" };
    QTest::newRow("quote never closed") << "\"open,x" << comma << QStringList { "\"open", "x" };
    QTest::newRow("quote never closed, long line")
        << "\"" + QString(190, QLatin1Char('a')) + ",x" << comma
        << QStringList { "\"" + QString(190, QLatin1Char('a')), "x" };
    QTest::newRow("semicolon") << "a;\"b;c\";d" << QChar(QLatin1Char(';')) << QStringList { "a", "b;c", "d" };
    QTest::newRow("tab") << "a\tb\t\tc" << QChar(QLatin1Char('\t')) << QStringList { "a", "b", "", "c" };
    QTest::newRow("blank, two in a row") << "a  b" << QChar(QLatin1Char(' ')) << QStringList { "a", "", "b" };
    QTest::newRow("zero character: the whole line")
        << "a,b;c\td\n" << QChar(0) << QStringList { "a,b;c\td" };
    QTest::newRow("letter") << "xaybz" << QChar(QLatin1Char('y')) << QStringList { "xa", "bz" };
    for (const char c : { '|', '.', '*', '+', '?', '(', ')', '[', ']', '{', '}', '\\', '^', '$', '-' }) {
        const QString s { QLatin1Char(c) };
        QTest::newRow(qPrintable("escaped " + s))
            << "a" + s + "b" + s + "\"c" + s + "d\"" << QChar(QLatin1Char(c)) << QStringList { "a", "b", "c" + s + "d" };
    }
}

void TestAsciiImport::splitDelimitedLine()
{
    QFETCH(QString, line);
    QFETCH(QChar, separator);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitDelimitedLine(line, separator), fields);
}

void TestAsciiImport::stripFieldQuotes_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("stripped");

    QTest::newRow("one pair") << QStringList { "\"a\"", "b" } << QStringList { "a", "b" };
    QTest::newRow("only one pair goes") << QStringList { "\"\"a\"\"" } << QStringList { "\"a\"" };
    QTest::newRow("lone quote") << QStringList { "\"" } << QStringList { "" };
    QTest::newRow("quote at one end") << QStringList { "\"a", "a\"" } << QStringList { "\"a", "a\"" };
    QTest::newRow("quotes inside") << QStringList { "a\"b\"c" } << QStringList { "a\"b\"c" };
    QTest::newRow("empty") << QStringList { "" } << QStringList { "" };
}

void TestAsciiImport::stripFieldQuotes()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, stripped);
    StripFieldQuotes(fields);
    QCOMPARE(fields, stripped);
}

void TestAsciiImport::delimiter_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("default comma") << "," << "," << QChar(QLatin1Char(','));
    QTest::newRow("quoted semicolon") << "\";\"" << ";" << QChar(QLatin1Char(';'));
    QTest::newRow("space") << "space" << "space" << QChar(QLatin1Char(' '));
    QTest::newRow("SPACE") << "SPACE" << "SPACE" << QChar(QLatin1Char(' '));
    QTest::newRow("Space quoted") << "\"Space\"" << "Space" << QChar(QLatin1Char(' '));
    QTest::newRow("tab") << "tab" << "tab" << QChar(QLatin1Char('\t'));
    QTest::newRow("TAB") << "TAB" << "TAB" << QChar(QLatin1Char('\t'));
    QTest::newRow("tab with blanks") << "  tab " << "tab" << QChar(QLatin1Char('\t'));
    QTest::newRow("several letters: the first") << "abc" << "abc" << QChar(QLatin1Char('a'));
    QTest::newRow("tabs: the first letter") << "tabs" << "tabs" << QChar(QLatin1Char('t'));
    QTest::newRow("inner blanks") << "t  a b" << "t a b" << QChar(QLatin1Char('t'));
    QTest::newRow("vertical bar") << " | " << "|" << QChar(QLatin1Char('|'));
    QTest::newRow("empty") << "" << "" << QChar(0);
    QTest::newRow("empty quotes") << "\"\"" << "" << QChar(0);
    QTest::newRow("quoted blank is empty") << "\" \"" << "" << QChar(0);
    QTest::newRow("character beyond the BMP") << QString::fromUtf8("\xf0\x9f\x98\x80") << QString::fromUtf8("\xf0\x9f\x98\x80")
                                              << QChar(0);
}

void TestAsciiImport::delimiter()
{
    QFETCH(QString, value);
    QFETCH(QString, cleaned);
    QFETCH(QChar, separator);
    QCOMPARE(CleanDelimiter(value), cleaned);
    QCOMPARE(SeparatorOf(CleanDelimiter(value)), separator);
}

void TestAsciiImport::lineParser_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("callColumn");
    QTest::addColumn<int>("locatorColumn");
    QTest::addColumn<int>("dateColumn");
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("record");

    const QString ymd = QStringLiteral("yyyyMMdd");
    QTest::newRow("defaults") << "," << 0 << 1 << 2 << ymd << "DL1ABC,JO62QM,20250510\n"
                              << "DL1ABC|JO62QM|2025-05-10 00:00";
    QTest::newRow("four fields needed, four there") << "," << 0 << 3 << 1 << ymd << "DL1ABC,20250510,x,JO62QM"
                                                    << "DL1ABC|JO62QM|2025-05-10 00:00";
    QTest::newRow("four fields needed, three there") << "," << 0 << 3 << 1 << ymd << "DL1ABC,20250510,JO62QM" << "";
    QTest::newRow("call and locator simplified") << "," << 0 << 1 << 2 << ymd << "  dl1abc , jo62  qm ,20250510"
                                                 << "dl1abc|jo62 qm|2025-05-10 00:00";
    QTest::newRow("date not simplified") << "," << 0 << 1 << 2 << ymd << "DL1ABC,JO62QM, 20250510" << "DL1ABC|JO62QM|invalid";
    QTest::newRow("date not in the format") << "," << 0 << 1 << 2 << ymd << "DL1ABC,JO62QM,2025-05-10"
                                            << "DL1ABC|JO62QM|invalid";
    QTest::newRow("quoted fields") << "," << 0 << 1 << 2 << ymd << "\"DL1ABC\",\"JO62QM\",\"20250510\""
                                   << "DL1ABC|JO62QM|2025-05-10 00:00";
    QTest::newRow("three pairs of quotes lose two") << "," << 0 << 1 << 2 << ymd << "\"\"\"DL1ABC\"\"\",JO62QM,20250510"
                                                    << "\"DL1ABC\"|JO62QM|2025-05-10 00:00";
    QTest::newRow("empty call") << "," << 0 << 1 << 2 << ymd << " ,JO62QM,20250510" << "";
    QTest::newRow("empty locator") << "," << 0 << 1 << 2 << ymd << "DL1ABC,\"\",20250510" << "";
    QTest::newRow("no date column: origin date") << "," << 0 << 1 << -1 << ymd << "DL1ABC,JO62QM"
                                                 << "DL1ABC|JO62QM|2025-03-01 00:00";
    QTest::newRow("negative call column") << "," << -1 << 1 << 2 << ymd << "DL1ABC,JO62QM,20250510" << "";
    QTest::newRow("negative locator column") << "," << 0 << -2 << 2 << ymd << "DL1ABC,JO62QM,20250510" << "";
    QTest::newRow("two-digit year") << ";" << 1 << 4 << 0 << "dd.MM.yy" << "10.05.25;DL1ABC;x;y;JO62QM"
                                    << "DL1ABC|JO62QM|1925-05-10 00:00";
    QTest::newRow("separated by blanks") << "space" << 0 << 1 << 2 << ymd << "DL1ABC JO62QM 20250510"
                                         << "DL1ABC|JO62QM|2025-05-10 00:00";
    QTest::newRow("two blanks shift the columns") << "space" << 0 << 1 << 2 << ymd << "DL1ABC  JO62QM 20250510" << "";
    QTest::newRow("no separator: one field") << "" << 0 << 0 << -1 << ymd << "DL1ABC,JO62QM\n"
                                             << "DL1ABC,JO62QM|DL1ABC,JO62QM|2025-03-01 00:00";
}

void TestAsciiImport::lineParser()
{
    QFETCH(QString, separator);
    QFETCH(int, callColumn);
    QFETCH(int, locatorColumn);
    QFETCH(int, dateColumn);
    QFETCH(QString, dateFormat);
    QFETCH(QString, line);
    QFETCH(QString, record);

    AsciiLineParser parser(SeparatorOf(separator), callColumn, locatorColumn, dateColumn, dateFormat,
                           QDate(2025, 3, 1));
    QCOMPARE(RecordText(parser.parse(line)), record);
}

void TestAsciiImport::description_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("description");

    QTest::newRow("csv") << "*.csv" << "*.csv|;|1|4|0|1|dd.MM.yyyy|1|2026-06-15";
    QTest::newRow("directories") << "directories" << "directories|,|0|1|2|1|yyyyMMdd|0|2026-06-15";
    QTest::newRow("odd values") << "odd" << "odd|tab|0|1|2|0|yyyyMMdd|-3|2025-03-01";
    QTest::newRow("origin date not a date") << "badorigin" << "badorigin|,|0|1|-1|-5|yyyyMMdd|0|invalid";
    QTest::newRow("absent group, all defaults") << "absent" << "absent|,|0|1|2|1|yyyyMMdd|0|2026-06-15";
    // Unquoted, the settings file reads a comma as a list separator: the
    // value is no text, and the whole line becomes one field.
    QTest::newRow("unquoted comma") << "unquoted" << "unquoted||0|1|2|1|yyyyMMdd|0|2026-06-15";
}

void TestAsciiImport::description()
{
    QFETCH(QString, group);
    QFETCH(QString, description);
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("gridcol.ini"), QByteArray(settingsText)
                               + "[odd]\n"
                                 "delimiter=\" tab \"\n"
                                 "call=abc\n"
                                 "wichtung=0\n"
                                 "headerLines=-3\n"
                                 "originDate=2025-03-01\n"
                                 "[badorigin]\n"
                                 "originDate=garbage\n"
                                 "date=-1\n"
                                 "wichtung= -5 \n"
                                 "[unquoted]\n"
                                 "delimiter=,\n"));
    QSettings settings(dir.filePath("gridcol.ini"), QSettings::IniFormat);
    QCOMPARE(DescriptionText(ReadAsciiImportDescription(settings, group)), description);
    QCOMPARE(settings.group(), QString());
}

void TestAsciiImport::configuredGroup()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("gridcol.ini"), settingsText));
    QVERIFY(WriteFileBytes(dir.filePath("a.csv"), "Date;Call;Name;Remark;Locator\r\n"
                                                  "10.05.2025;\"DL1ABC\";Peter;\"a;b\";\"JO62QM\"\r\n"
                                                  "11.05.2025;dl2bbb;Paul;;jo51ab\r\n"
                                                  "11.05.2025;DL3CCC;short\r\n"
                                                  "12.05.2025;DL1ABC;Peter;;JO62QM\r\n"
                                                  "2025-05-13;DL4DDD;;;JO40AA\r\n"
                                                  "14.05.2025;DL5EEE;;;JO30BB"));
    QVERIFY(WriteFileBytes(dir.filePath("B.CSV"), "header\n01.06.2025;DL6FFF;;;JN48AA\n"));
    QVERIFY(WriteFileBytes(dir.filePath("c.txt"), "header\n01.06.2025;DL7GGG;;;JN48AA\n"));
    QSettings settings(dir.filePath("gridcol.ini"), QSettings::IniFormat);

    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ImportConfiguredAsciiFiles(settings, dir.path());

    // Every record is counted, the one with an invalid date too.
    QCOMPARE(console.text(), QByteArray("Processing a.csv ... 4\nProcessing B.CSV ... 1\n"));
    COMPARE_TEXT(log.text(), "ASCII Import: pattern: *.csv delimiter: ; dateFormat: dd.MM.yyyy \n"
                             "         call 1 loc 4 date 0 wichtung 1 skip 1\n"
                             "Processing a.csv \n"
                             "DL1ABC JO62QM 10.05.2025\n"
                             "DL2BBB JO51AB 11.05.2025\n"
                             "DL1ABC JO62QM 12.05.2025\n"
                             "DL4DDD JO40AA 24.11.-4714\n"
                             "QSO too old\n"
                             "Processing B.CSV \n"
                             "DL6FFF JN48AA 01.06.2025\n"
                             "ASCII Import: pattern: directories delimiter: , dateFormat: yyyyMMdd \n"
                             "         call 0 loc 1 date 2 wichtung 1 skip 0\n");
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 2 12.05.2025", "DL2BBB JO51AB 1 11.05.2025",
                                           "DL6FFF JN48AA 1 01.06.2025" }));
}

void TestAsciiImport::groupWithoutKeysOrDate()
{
    // A group needs one key to be seen at all; "wichtung" 0 counts as 1, and
    // without a date column every record gets the origin date.
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("gridcol.ini"), "[*.lst]\n"
                                                        "[*.txt]\n"
                                                        "wichtung=0\n"
                                                        "date=-1\n"
                                                        "delimiter=TAB\n"
                                                        "[calls.dat]\n"
                                                        "wichtung=5\n"
                                                        "delimiter=space\n"
                                                        "date=-1\n"
                                                        "originDate=2025-02-03\n"));
    QVERIFY(WriteFileBytes(dir.filePath("a.lst"), "DL9ZZZ,JO00AA,20250101\n"));
    QVERIFY(WriteFileBytes(dir.filePath("a.txt"), "DL1ABC\tJO62QM\n\"DL2BBB\"\t\"JO51AB\"\n"));
    QVERIFY(WriteFileBytes(dir.filePath("calls.dat"), "DL1ABC JO62QM\n"));
    QSettings settings(dir.filePath("gridcol.ini"), QSettings::IniFormat);
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ImportConfiguredAsciiFiles(settings, dir.path());
    QCOMPARE(console.text(), QByteArray("Processing a.txt ... 2\nProcessing calls.dat ... 1\n"));
    // The log shows the weight as configured.
    QVERIFY(log.text().startsWith("ASCII Import: pattern: *.txt delimiter: TAB dateFormat: yyyyMMdd \n"
                                  "         call 0 loc 1 date -1 wichtung 0 skip 0\n"
                                  "Processing a.txt \n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 6 15.06.2026", "DL2BBB JO51AB 1 15.06.2026" }));
    QCOMPARE(CallDatabase.at(0).locators.at(0).date, Day("15.06.2026"));
}

void TestAsciiImport::callColumnBeyondEveryLine()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("gridcol.ini"), "[*.csv]\ncall=40\n"));
    QVERIFY(WriteFileBytes(dir.filePath("a.csv"), "DL1ABC,JO62QM,20250510\n,,,,,,,,,,,,,,,,\n\n"
                                                  + QByteArray(500, ',') + "\n"));
    QSettings settings(dir.filePath("gridcol.ini"), QSettings::IniFormat);
    StreamCapture console(StreamCapture::Console);
    ImportConfiguredAsciiFiles(settings, dir.path());
    // The 500 commas arrive in pieces of 198, each with 199 fields: enough
    // fields, but empty ones.
    QCOMPARE(console.text(), QByteArray("Processing a.csv ... 0\n"));
    QVERIFY(CallDatabase.isEmpty());
}

void TestAsciiImport::fileEndsInHeader()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("gridcol.ini"), "[*.csv]\nheaderLines=3\n"));
    QVERIFY(WriteFileBytes(dir.filePath("a.csv"), "one\ntwo\n"));
    QVERIFY(WriteFileBytes(dir.filePath("b.csv"), "one\ntwo\nthree\nDL1ABC,JO62QM,20250510\n"));
    QVERIFY(WriteFileBytes(dir.filePath("c.csv"), ""));
    QSettings settings(dir.filePath("gridcol.ini"), QSettings::IniFormat);
    StreamCapture console(StreamCapture::Console);
    ImportConfiguredAsciiFiles(settings, dir.path());
    QCOMPARE(console.text(), QByteArray("Processing a.csv ... 0\nProcessing b.csv ... 1\nProcessing c.csv ... 0\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 1 10.05.2025" }));
}

void TestAsciiImport::expLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("record");

    QTest::newRow("six fields") << "05.06.23,1200,DL1ABC,59,59,JO62QM\n" << "DL1ABC|JO62QM|1923-06-05 00:00";
    QTest::newRow("more fields") << "05.06.23,1200,dl1abc ,59,59, jo62qm ,x,y\n" << "dl1abc|jo62qm|1923-06-05 00:00";
    QTest::newRow("five fields") << "05.06.23,1200,DL1ABC,59,JO62QM\n" << "";
    QTest::newRow("empty fields kept") << "05.06.23,,DL1ABC,,,JO62QM" << "DL1ABC|JO62QM|1923-06-05 00:00";
    QTest::newRow("blank before the date") << " 05.06.23,1200,DL1ABC,59,59,JO62QM\n" << "DL1ABC|JO62QM|invalid";
    QTest::newRow("four-digit year") << "05.06.2023,1200,DL1ABC,59,59,JO62QM\n" << "DL1ABC|JO62QM|invalid";
    QTest::newRow("quotes stay") << "05.06.23,1200,\"DL1ABC\",59,59,JO62QM" << "\"DL1ABC\"|JO62QM|1923-06-05 00:00";
    QTest::newRow("empty call") << "05.06.23,1200,  ,59,59,JO62QM" << "";
    QTest::newRow("empty locator") << "05.06.23,1200,DL1ABC,59,59,\n" << "";
}

void TestAsciiImport::expLine()
{
    QFETCH(QString, line);
    QFETCH(QString, record);
    QCOMPARE(RecordText(ParseExpLine(line)), record);
}

void TestAsciiImport::expFiles()
{
    const QByteArray header = "Export\nStation DL0XX\nContest\n\nDate,Time,Call,Sent,Rcvd,Locator\n";
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath("a.exp"), header
                               + "05.06.23,1200,DL1ABC,59,59,JO62QM\r\n"
                                 "31.12.79,1300,DL2BBB,59,59,JO51AB\r\n"
                                 "01.01.95,1400,DL3CCC,59,59,JN58XY\r\n"
                                 " 06.06.23,1500,DL4DDD,59,59,JO40AA\r\n"
                                 "06.06.23,1500,DL5EEE,59,JO40AA\r\n"
                                 "07.06.23,1600,DL1ABC,59,59,JO62QM," + QByteArray(120, 'r') + "\r\n"
                                 "08.06.23,1700,DL6FFF,59,59,JO30BB"));
    QVERIFY(WriteFileBytes(dir.filePath("b.EXP"), "only\nthree\nlines\n"));
    QVERIFY(WriteFileBytes(dir.filePath("c.exp"), header + "01.05.25,0800,DL7GGG,59,59,JN48AA\n"));
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ImportExpFiles(dir.path());
    // Dates before 1980 move into this century, 1995 is too old; the date
    // with a blank is invalid but counted; the last line has no line end.
    QCOMPARE(console.text(), QByteArray("Processing a.exp ... 5\nProcessing b.EXP ... 0\nProcessing c.exp ... 1\n"));
    QVERIFY(log.text().startsWith("Processing a.exp \nDL1ABC JO62QM 05.06.2023\n"));
    QVERIFY(log.text().contains("Processing b.EXP \nProcessing c.exp \n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 2 07.06.2023", "DL2BBB JO51AB 1 31.12.2079",
                                           "DL7GGG JN48AA 1 01.05.2025" }));
}

GRIDCOL_TEST_MAIN(TestAsciiImport)
#include "tst_asciiimport.moc"
