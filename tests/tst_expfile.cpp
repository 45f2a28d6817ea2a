// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/expfile.h"

/*
 * The lines of "*.exp" export files: date, call and locator at fixed fields.
 */

class TestExpFile : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
};

void TestExpFile::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parsed"); // "call|locator|dd.MM.yyyy", or "-" for a skipped line

    const auto row = [](const char *name, const char *line, const char *parsed) {
        QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(parsed);
    };
    const char *record = "DL1ABC|JO62QM|06.05.1923";
    row("a record", "06.05.23,1412,DL1ABC,59001,57002,JO62QM,123\n", record);
    row("six fields, the locator ended by the line feed", "06.05.23,1412,DL1ABC,59001,57002,JO62QM\n", record);
    row("five fields", "06.05.23,1412,DL1ABC,59001,JO62QM\n", "-");
    row("blanks around call and locator", "06.05.23,1412, DL1ABC\t,59001,57002,  JO62QM \r\n", record);
    row("white space inside simplified", "06.05.23,1412,DL1  ABC,59001,57002,JO62QM\n", "DL1 ABC|JO62QM|06.05.1923");
    row("case, text beyond ASCII kept", "06.05.23,1412,d\xc3\xbc,59001,57002,jo62qm\n", "d\xc3\xbc|jo62qm|06.05.1923");
    row("empty call", "06.05.23,1412,,59001,57002,JO62QM\n", "-");
    row("blank locator", "06.05.23,1412,DL1ABC,59001,57002, \n", "-");
    row("the locator beyond the sixth field", "06.05.23,1412,DL1ABC,59001,57002,,JO62QM\n", "-");
    row("a blank before the date", " 06.05.23,1412,DL1ABC,59001,57002,JO62QM\n", "DL1ABC|JO62QM|invalid");
    row("a four-digit year", "06.05.2023,1412,DL1ABC,59001,57002,JO62QM\n", "DL1ABC|JO62QM|invalid");
    row("month first", "05.13.23,1412,DL1ABC,59001,57002,JO62QM\n", "DL1ABC|JO62QM|invalid");
    row("empty line", "\n", "-");
}

void TestExpFile::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, parsed);
    ExpLineParser parser;
    for (int round = 0; round < 2; ++round) {
        const std::optional<AsciiRecord> record = parser.parse(line);
        const QString date = record && record->date.isValid() ? record->date.toString(QStringLiteral("dd.MM.yyyy"))
                                                              : QStringLiteral("invalid");
        QCOMPARE(record ? record->call + QLatin1Char('|') + record->locator + QLatin1Char('|') + date
                        : QStringLiteral("-"),
                 parsed);
    }
}

GRIDCOL_TEST_MAIN(TestExpFile)
#include "tst_expfile.moc"
