#include "testsupport.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/asciiimport.h"

#include <QDir>
#include <QDirIterator>
#include <QSettings>

namespace {

QString RecordText(const std::optional<AsciiRecord> &record)
{
    if (!record)
        return QString();
    const QString date = record->date.isValid() ? record->date.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                : QStringLiteral("invalid");
    return QStringLiteral("%1|%2|%3").arg(record->call, record->locator, date);
}

} // namespace

class TestAsciiImport : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void splitDelimitedLine_data();
    void splitDelimitedLine();
    void stripFieldQuotes();
    void delimiter_data();
    void delimiter();
    void lineParser_data();
    void lineParser();
    void golden_data();
    void golden();
};

void TestAsciiImport::splitDelimitedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("fields");

    const QChar comma = QLatin1Char(',');
    QTest::newRow("plain") << "a,b,c" << comma << QStringList { "a", "b", "c" };
    QTest::newRow("empty line, one empty field") << "" << comma << QStringList { "" };
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
    QTest::newRow("blanks around a quoted field")
        << " \"a\" ,b" << comma << QStringList { " \"a\" ", "b" };
    QTest::newRow("quote never closed") << "\"open,x" << comma << QStringList { "\"open", "x" };
    QTest::newRow("quote never closed, long line")
        << "\"" + QString(190, QLatin1Char('a')) + ",x" << comma
        << QStringList { "\"" + QString(190, QLatin1Char('a')), "x" };
    QTest::newRow("blank, two in a row") << "a  b" << QChar(QLatin1Char(' ')) << QStringList { "a", "", "b" };
    QTest::newRow("zero character: the whole line")
        << "a,b;c\td\n" << QChar(0) << QStringList { "a,b;c\td" };
    QTest::newRow("letter") << "xaybz" << QChar(QLatin1Char('y')) << QStringList { "xa", "bz" };
    for (const char c : { '|', '.', '*', '+', '?', '(', ')', '[', ']', '{', '}', '\\', '^', '$', '-' }) {
        const QString s { QLatin1Char(c) };
        QTest::newRow(qPrintable("escaped " + s))
            << "a" + s + "b" + s + "\"c" + s + "d\"" << QChar(QLatin1Char(c))
            << QStringList { "a", "b", "c" + s + "d" };
    }
}

void TestAsciiImport::splitDelimitedLine()
{
    QFETCH(QString, line);
    QFETCH(QChar, separator);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitDelimitedLine(line, separator), fields);
}

void TestAsciiImport::stripFieldQuotes()
{
    // One pair, only one pair, a lone quote, a quote at one end, quotes inside, empty.
    QStringList fields { "\"a\"", "\"\"a\"\"", "\"", "\"a", "a\"", "a\"b\"c", "" };
    StripFieldQuotes(fields);
    QCOMPARE(fields, QStringList({ "a", "\"a\"", "", "\"a", "a\"", "a\"b\"c", "" }));
}

void TestAsciiImport::delimiter_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("default comma") << "," << "," << QChar(QLatin1Char(','));
    QTest::newRow("quoted semicolon") << "\";\"" << ";" << QChar(QLatin1Char(';'));
    QTest::newRow("SPACE") << "SPACE" << "SPACE" << QChar(QLatin1Char(' '));
    QTest::newRow("Space quoted") << "\"Space\"" << "Space" << QChar(QLatin1Char(' '));
    QTest::newRow("TAB") << "TAB" << "TAB" << QChar(QLatin1Char('\t'));
    QTest::newRow("tab with blanks") << "  tab " << "tab" << QChar(QLatin1Char('\t'));
    QTest::newRow("several letters: the first") << "abc" << "abc" << QChar(QLatin1Char('a'));
    QTest::newRow("tabs: the first letter") << "tabs" << "tabs" << QChar(QLatin1Char('t'));
    QTest::newRow("quotes anywhere go") << "x\"y\"" << "xy" << QChar(QLatin1Char('x'));
    QTest::newRow("inner blanks") << "t  a b" << "t a b" << QChar(QLatin1Char('t'));
    QTest::newRow("vertical bar") << " | " << "|" << QChar(QLatin1Char('|'));
    QTest::newRow("empty") << "" << "" << QChar(0);
    QTest::newRow("quoted blank is empty") << "\" \"" << "" << QChar(0);
    const QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
    QTest::newRow("character beyond the BMP") << emoji << emoji << QChar(0);
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
    QTest::newRow("date column beyond the line") << "," << 0 << 1 << 2 << ymd << "DL1ABC,JO62QM" << "";
    QTest::newRow("four fields needed, three there") << "," << 0 << 3 << 1 << ymd << "DL1ABC,20250510,JO62QM" << "";
    QTest::newRow("call and locator simplified") << "," << 0 << 1 << 2 << ymd << "  dl1  abc , jo62  qm ,20250510"
                                                 << "dl1 abc|jo62 qm|2025-05-10 00:00";
    QTest::newRow("date not simplified") << "," << 0 << 1 << 2 << ymd << "DL1ABC,JO62QM, 20250510"
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

void TestAsciiImport::golden_data()
{
    // Every "<case>.expected" names a directory "<case>" read as one source
    // directory with its own "gridcol.ini": configured groups, then "*.exp"
    // files. It holds the console text and the whole database;
    // "<case>.log" the debug log.
    QTest::addColumn<QString>("directory");
    QDirIterator it(QStringLiteral(GRIDCOL_TEST_DATA "/asciiimport"), { QStringLiteral("*.expected") }, QDir::Files);
    int rows = 0;
    for (; it.hasNext(); ++rows) {
        const QString expected = it.next();
        QTest::newRow(qPrintable(QFileInfo(expected).completeBaseName())) << expected.chopped(9);
    }
    QVERIFY(rows >= 4);
}

void TestAsciiImport::golden()
{
    QFETCH(QString, directory);
    QVERIFY(QFileInfo(directory).isDir());
    QSettings settings(directory + QStringLiteral("/gridcol.ini"), QSettings::IniFormat);
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    ImportConfiguredAsciiFiles(settings, directory);
    ImportExpFiles(directory);
    COMPARE_TEXT(console.text() + DumpDatabase().join(QLatin1Char('\n')).toUtf8() + '\n',
                 ReadFileBytes(directory + QStringLiteral(".expected")));
    const QString logFile = directory + QStringLiteral(".log");
    if (QFileInfo::exists(logFile))
        COMPARE_TEXT(log.text(), ReadFileBytes(logFile));
}

GRIDCOL_TEST_MAIN(TestAsciiImport)
#include "tst_asciiimport.moc"
