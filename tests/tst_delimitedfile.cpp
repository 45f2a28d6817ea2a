// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/delimitedfile.h"

/*
 * Delimited text files: the field splitter, the quotes around fields and
 * the per-line step of a configured import.
 */

class TestDelimitedFile : public QObject
{
    Q_OBJECT

private slots:
    void splitDelimitedLine_data();
    void splitDelimitedLine();
    void stripFieldQuotes();
    void asciiLineParser_data();
    void asciiLineParser();
};

void TestDelimitedFile::splitDelimitedLine_data()
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
    QTest::newRow("blanks around a quoted field") << " \"a\" ,b" << comma << QStringList { " \"a\" ", "b" };
    QTest::newRow("quote never closed") << "\"open,x" << comma << QStringList { "\"open", "x" };
    QTest::newRow("quote never closed, long line") << "\"" + QString(190, QLatin1Char('a')) + ",x" << comma
                                                   << QStringList { "\"" + QString(190, QLatin1Char('a')), "x" };
    QTest::newRow("blank, two in a row") << "a  b" << QChar(QLatin1Char(' ')) << QStringList { "a", "", "b" };
    QTest::newRow("zero character: the whole line") << "a,b;c\td\n" << QChar(0) << QStringList { "a,b;c\td" };
    QTest::newRow("letter") << "xaybz" << QChar(QLatin1Char('y')) << QStringList { "xa", "bz" };
    for (const char c : { '|', '.', '*', '+', '?', '(', ')', '[', ']', '{', '}', '\\', '^', '$', '-' }) {
        const QString s { QLatin1Char(c) };
        QTest::newRow(qPrintable("escaped " + s)) << "a" + s + "b" + s + "\"c" + s + "d\"" << QChar(QLatin1Char(c))
                                                  << QStringList { "a", "b", "c" + s + "d" };
    }
}

void TestDelimitedFile::splitDelimitedLine()
{
    QFETCH(QString, line);
    QFETCH(QChar, separator);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitDelimitedLine(line, separator), fields);
}

void TestDelimitedFile::stripFieldQuotes()
{
    // One pair of enclosing quotes goes, and only one.
    QStringList quoted { "\"a\"", "\"\"a\"\"", "\"", "\"a", "a\"", "a\"b\"c", "" };
    StripFieldQuotes(quoted);
    QCOMPARE(quoted, QStringList({ "a", "\"a\"", "", "\"a", "a\"", "a\"b\"c", "" }));
}

void TestDelimitedFile::asciiLineParser_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("columns"); // of call, locator and date
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parsed"); // "call|locator|dd.MM.yyyy HH:mm", "-" for none; origin 01.03.2025

    const QChar comma = QLatin1Char(',');
    const auto row = [](const char *name, QChar separator, const char *columns, const char *line, const char *parsed,
                        const char *format = "yyyyMMdd") {
        QTest::newRow(name) << separator << columns << format << QString::fromUtf8(line) << QString::fromUtf8(parsed);
    };
    const char *plain = "DL1ABC|JO62QM|01.02.2025 00:00";
    row("plain", comma, "0 1 2", "DL1ABC,JO62QM,20250201", plain);
    row("the line feed ends the line", comma, "0 1 2", "DL1ABC,JO62QM,20250201\n", plain);
    row("one field short", comma, "0 1 2", "DL1ABC,JO62QM\n", "-");
    row("simplified, case kept", comma, "0 1 2", " dl1abc\t, jo62  qm ,20250201", "dl1abc|jo62 qm|01.02.2025 00:00");
    row("the date as it stands", comma, "0 1 2", "DL1ABC,JO62QM, 20250201", "DL1ABC|JO62QM|invalid");
    row("empty call", comma, "0 1 2", ",JO62QM,20250201", "-");
    row("blank locator", comma, "0 1 2", "DL1ABC, ,20250201", "-");
    row("columns in another order", comma, "2 0 1", "JO62QM,20250201,DL1ABC", plain);
    row("the locator the widest column", comma, "0 5 1", "DL1ABC,20250201,a,b,c,JO62QM", plain);
    row("the locator the widest column, one short", comma, "0 5 1", "DL1ABC,20250201,a,b,c", "-");
    row("no date column: the origin date", comma, "0 1 -1", "DL1ABC,JO62QM", "DL1ABC|JO62QM|01.03.2025 00:00");
    row("no call column", comma, "-1 1 2", "DL1ABC,JO62QM,20250201", "-");
    row("quoted fields", comma, "0 1 2", "\"DL1ABC\",\"JO62QM\",\"20250201\"", plain);
    row("separators inside quotes", comma, "0 2 3", "\"D,1\",\"x,y\",JO62QM,20250201", "D,1|JO62QM|01.02.2025 00:00");
    row("a quoted field one short", comma, "0 1 2", "\"DL1ABC,JO62QM\",20250201", "-");
    row("semicolon", QLatin1Char(';'), "0 1 2", "DL1,ABC;JO62QM;20250201", "DL1,ABC|JO62QM|01.02.2025 00:00");
    row("two blanks make an empty field", QLatin1Char(' '), "0 1 2", "DL1ABC  JO62QM 20250201", "-");
    row("tab", QLatin1Char('\t'), "0 1 2", "DL1 ABC\tJO62QM\t20250201", "DL1 ABC|JO62QM|01.02.2025 00:00");
    row("date and time", comma, "0 1 2", "DL1ABC,JO62QM,20250201 1230", "DL1ABC|JO62QM|01.02.2025 12:30",
        "yyyyMMdd HHmm");
}

void TestDelimitedFile::asciiLineParser()
{
    QFETCH(QChar, separator);
    QFETCH(QString, columns);
    QFETCH(QString, format);
    QFETCH(QString, line);
    QFETCH(QString, parsed);
    const QStringList column = columns.split(QLatin1Char(' '));
    AsciiLineParser parser(separator, column.at(0).toInt(), column.at(1).toInt(), column.at(2).toInt(), format,
                           QDate(2025, 3, 1));
    const auto text = [&parser](const QString &line) {
        const std::optional<AsciiRecord> record = parser.parse(line);
        if (!record)
            return QStringLiteral("-");
        const QString date = record->date.isValid() ? record->date.toString(QStringLiteral("dd.MM.yyyy HH:mm"))
                                                    : QStringLiteral("invalid");
        return record->call + QLatin1Char('|') + record->locator + QLatin1Char('|') + date;
    };
    QCOMPARE(text(line), parsed);
    // A line without quotes reads the same with every field quoted.
    if (!line.contains(QLatin1Char('"'))) {
        const bool feed = line.endsWith(QLatin1Char('\n'));
        const QString quote(QLatin1Char('"'));
        const QStringList fields = line.left(line.size() - (feed ? 1 : 0)).split(separator);
        QCOMPARE(text(quote + fields.join(quote + separator + quote) + quote + (feed ? "\n" : "")), parsed);
    }
}

GRIDCOL_TEST_MAIN(TestDelimitedFile)
#include "tst_delimitedfile.moc"
