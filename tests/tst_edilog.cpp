// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/edilog.h"

/*
 * The per-line steps of the EDI contest log reader: header lines, the
 * contest date and the lines of the QSO section.
 */

namespace {

QString DayOf(const QDateTime &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("invalid");
}

} // namespace

class TestEdiLog : public QObject
{
    Q_OBJECT

private slots:
    void qsoLine_data();
    void qsoLine();
    void headerLine_data();
    void headerLine();
    void headerDate_data();
    void headerDate();
};

void TestEdiLog::qsoLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parsed"); // "call|locator|dd.MM.yyyy", "skipped" or "end"

    // Every field different, so that a field taken from a neighbour shows.
    const char *contact = "DL1ABC|JO62QM|06.05.1923";
    QTest::newRow("a contact") << "230506;1412;DL1ABC;1;59;001;57;002;;JO62QM;123;;;;\n" << contact;
    QTest::newRow("exactly ten fields") << "230506;1412;DL1ABC;1;59;001;57;002;x;JO62QM" << contact;
    QTest::newRow("the last field ended by the line feed") << "230506;1412;DL1ABC;1;59;001;57;002;x;JO62QM\n"
                                                           << contact;
    QTest::newRow("nine fields") << "230506;1412;DL1ABC;1;59;001;57;002;JO62QM\n" << "skipped";
    QTest::newRow("empty call") << "230506;1412;;1;59;001;57;002;;JO62QM;123\n" << "skipped";
    QTest::newRow("blank call") << "230506;1412;  ;1;59;001;57;002;;JO62QM;123\n" << "skipped";
    QTest::newRow("empty locator") << "230506;1412;DL1ABC;1;59;001;57;002;JO61AA;;123\n" << "skipped";
    QTest::newRow("blanks around") << "230506;1412; DL1ABC ;1;59;001;57;002;; JO62QM\t;123\n" << contact;
    QTest::newRow("white space inside simplified") << "230506;1412;DL1\t \tABC;1;59;001;57;002;;JO62QM;1\n"
                                                   << "DL1 ABC|JO62QM|06.05.1923";
    QTest::newRow("case and text beyond ASCII kept") << "230506;1412;d\xc3\xbc" "1;1;59;001;57;002;;jo62qm;1\n"
                                                     << "d\xc3\xbc" "1|jo62qm|06.05.1923";
    QTest::newRow("blanks before the date") << "  230506;1412;DL1ABC;1;59;001;57;002;;JO62QM;1\n" << contact;
    QTest::newRow("a blank inside the date") << "2305 06;1412;DL1ABC;1;59;001;57;002;;JO62QM;1\n"
                                             << "DL1ABC|JO62QM|invalid";
    QTest::newRow("a date of eight digits") << "20230506;1412;DL1ABC;1;59;001;57;002;;JO62QM;1\n"
                                            << "DL1ABC|JO62QM|invalid";
    QTest::newRow("the end of the section") << "[END; DL1ABC]\n" << "end";
    QTest::newRow("a bracket after blanks") << " \t[Remarks]\n" << "end";
    QTest::newRow("a bracket later in the line") << "230506;1412;[DL1ABC];1;59;001;57;002;;JO62QM;1\n"
                                                 << "[DL1ABC]|JO62QM|06.05.1923";
    QTest::newRow("empty line") << "\n" << "skipped";
}

void TestEdiLog::qsoLine()
{
    QFETCH(QString, line);
    QFETCH(QString, parsed);
    EdiDates dates;
    // A second reading, with the dates in memory, is the same.
    for (int round = 0; round < 2; ++round) {
        const EdiQsoLine qso = ParseEdiQsoLine(line, dates);
        if (qso.kind == EdiQsoLine::Contact)
            QCOMPARE(qso.call + QLatin1Char('|') + qso.locator + QLatin1Char('|') + DayOf(qso.date), parsed);
        else
            QCOMPARE(QLatin1String(qso.kind == EdiQsoLine::SectionEnd ? "end" : "skipped"), parsed);
    }
}

void TestEdiLog::headerLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("header"); // "own call|own locator|day|section", from "C|L|15.06.2026|"

    QTest::newRow("PCall") << "PCall=DL1ABC\n" << "DL1ABC|L|15.06.2026|";
    QTest::newRow("any case") << "pCALL=DL1ABC\r\n" << "DL1ABC|L|15.06.2026|";
    QTest::newRow("PWWLo") << "PWWLo=JO62QM\n" << "C|JO62QM|15.06.2026|";
    QTest::newRow("TDate") << "TDate=20230506;20230507\n" << "C|L|06.05.2023|";
    QTest::newRow("a TDate that is no date") << "TDate=6 May 2023\n" << "C|L|invalid|";
    QTest::newRow("empty value") << "PCall=\n" << "|L|15.06.2026|";
    QTest::newRow("the value as written, simplified") << "  PCall= dl1  abc \n" << " dl1 abc|L|15.06.2026|";
    QTest::newRow("a blank before the equals sign") << "PCall =DL1ABC\n" << "C|L|15.06.2026|";
    QTest::newRow("the value ends at a second equals sign") << "PWWLo=JO62QM=JO62QN\n" << "C|JO62QM|15.06.2026|";
    QTest::newRow("a longer key") << "PCallsign=DL1ABC\n" << "C|L|15.06.2026|";
    QTest::newRow("no equals sign") << "PCall DL1ABC\n" << "C|L|15.06.2026|";
    QTest::newRow("the QSO section") << "[QSORecords;17]\n" << "C|L|15.06.2026|section";
    QTest::newRow("the QSO section, any case, after blanks") << "  [qsorecords;17]\n" << "C|L|15.06.2026|section";
    QTest::newRow("another section") << "[Remarks]\n" << "C|L|15.06.2026|";
    QTest::newRow("one letter short") << "[QSORecord;17]\n" << "C|L|15.06.2026|";
    QTest::newRow("the section name as a value") << "PCall=[QSORecords\n" << "[QSORecords|L|15.06.2026|";
}

void TestEdiLog::headerLine()
{
    QFETCH(QString, line);
    QFETCH(QString, header);
    EdiHeader applied { QStringLiteral("C"), QStringLiteral("L"), TestNow() };
    EdiDates dates;
    const bool section = ApplyEdiHeaderLine(line, applied, dates);
    QCOMPARE(applied.ownCall + QLatin1Char('|') + applied.ownLocator + QLatin1Char('|') + DayOf(applied.ownDate)
                 + QLatin1Char('|') + QLatin1String(section ? "section" : ""),
             header);
}

void TestEdiLog::headerDate_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("date");
    QTest::newRow("six digits") << "230506" << "06.05.1923";
    QTest::newRow("eight digits") << "20230506" << "06.05.2023";
    QTest::newRow("first and last day: the first") << "20230507;20230506" << "07.05.2023";
    QTest::newRow("six-digit days") << "230506;230507" << "06.05.1923";
    QTest::newRow("no first day") << ";20230507" << "invalid";
    QTest::newRow("no such month") << "20231306;20231307" << "invalid";
    QTest::newRow("dashes") << "2023-05-06" << "invalid";
    QTest::newRow("a blank inside") << "20230506 ;20230507" << "invalid";
}

void TestEdiLog::headerDate()
{
    QFETCH(QString, value);
    QFETCH(QString, date);
    EdiDates dates;
    QCOMPARE(DayOf(ParseEdiHeaderDate(value, dates)), date);
    QCOMPARE(DayOf(ParseEdiHeaderDate(value, dates)), date);
}

GRIDCOL_TEST_MAIN(TestEdiLog)
#include "tst_edilog.moc"
