// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"
#include "testsupport.h"

#include "base/datetext.h"
#include "database/calldatabase.h"
#include "readers/delimitedfile.h"
#include "writers/loggerfields.h"
#include "writers/minosfile.h"
#include "writers/n1mmhistory.h"
#include "writers/outputlayout.h"
#include "writers/tucnakfile.h"

#include <QRegularExpression>

/*
 * The files for other loggers read back: Tucnak's lines by their columns,
 * the Minos rows as CSV, the N1MM+ call history by its header and fields.
 * What they hold is worked out here from the layout by the plain rules of
 * the formats, and what they leave out is counted the same way.
 */

namespace {

/// A call or locator as a logger file can carry it: printable, no blank,
/// comma or double quote; ASCII and at most width characters for Tucnak.
bool Fits(QStringView text, int width = -1)
{
    static const QRegularExpression any(QStringLiteral("^[^\\x00-\\x20\\x7f-\\x9f,\"]+$"));
    static const QRegularExpression ascii(QStringLiteral("^[\\x21-\\x7e]+$"));
    const QString whole = text.toString();
    if (width < 0)
        return any.match(whole).hasMatch();
    return whole.size() <= width && ascii.match(whole).hasMatch() && !whole.contains(QLatin1Char(','))
        && !whole.contains(QLatin1Char('"'));
}

QString DateText(const RankedLocator &locator, const char *format)
{
    return locator.date.toString(QLatin1String(format));
}

/// The lines of a file, its last line end taken off.
QStringList LinesOf(const QByteArray &file)
{
    if (file.isEmpty())
        return {};
    if (!file.endsWith('\n'))
        return { QStringLiteral("<no line end at the end>") };
    return QString::fromLocal8Bit(file.left(file.size() - 1)).split(QLatin1Char('\n'));
}

struct Expected
{
    QStringList lines; ///< one for each line the file should hold, as the test reads it back
    LeftOutCount leftOut;
};

/// Tucnak: the best two locators, "CALL LOCATOR yyyy-MM-dd" each.
Expected ExpectedTucnak(const OutputLayout &layout)
{
    Expected expected;
    for (int i = 0; i < layout.size(); ++i) {
        const RankedLocatorList ranked = layout.locatorsAt(i);
        QStringList lines;
        int unfit = 0;
        for (int k = 0; k < qMin(2, ranked.size()); ++k) {
            if (Fits(ranked.at(k).locator, 6))
                lines << QStringList { layout.callAt(i).toString(), ranked.at(k).locator.toString(),
                                       DateText(ranked.at(k), "yyyy-MM-dd") }
                             .join(QLatin1Char(' '));
            else
                ++unfit;
        }
        if (!Fits(layout.callAt(i), 14) || lines.isEmpty()) {
            ++expected.leftOut.calls;
            continue;
        }
        expected.lines << lines;
        expected.leftOut.locators += unfit;
    }
    return expected;
}

/// Minos: every locator, "CALL|LOCATOR||WEIGHT|yyyy/MM/dd;" each.
Expected ExpectedMinos(const OutputLayout &layout)
{
    Expected expected;
    for (int i = 0; i < layout.size(); ++i) {
        QStringList lines;
        int unfit = 0;
        for (const RankedLocator &locator : layout.locatorsAt(i)) {
            if (Fits(locator.locator))
                lines << QStringLiteral("%1|%2||%3|%4;")
                             .arg(layout.callAt(i).toString(), locator.locator.toString())
                             .arg(locator.weight)
                             .arg(DateText(locator, "yyyy/MM/dd"));
            else
                ++unfit;
        }
        if (!Fits(layout.callAt(i)) || lines.isEmpty()) {
            ++expected.leftOut.calls;
            continue;
        }
        expected.lines << lines;
        expected.leftOut.locators += unfit;
    }
    return expected;
}

/// N1MM+: the header, then "CALL|BEST|SECOND|WEIGHT|yyyy-MM-dd" a call (the
/// second and its weight empty where there is none or it does not fit).
Expected ExpectedN1mm(const OutputLayout &layout)
{
    Expected expected;
    expected.lines << QLatin1String(n1mmHistoryHeader);
    for (int i = 0; i < layout.size(); ++i) {
        const RankedLocatorList ranked = layout.locatorsAt(i);
        if (!Fits(layout.callAt(i)) || !Fits(ranked.at(0).locator)) {
            ++expected.leftOut.calls;
            continue;
        }
        QString second = QStringLiteral("|");
        if (ranked.size() > 1 && Fits(ranked.at(1).locator))
            second = ranked.at(1).locator.toString() + QLatin1Char('|') + QString::number(ranked.at(1).weight);
        else if (ranked.size() > 1)
            ++expected.leftOut.locators;
        expected.lines << QStringList { layout.callAt(i).toString(), ranked.at(0).locator.toString(), second,
                                        DateText(ranked.at(0), "yyyy-MM-dd") }
                              .join(QLatin1Char('|'));
    }
    return expected;
}

/// Tucnak's lines by their columns: the call in 14, a blank, the locator in
/// 6, a blank, the date.
QStringList ReadTucnak(const QByteArray &file)
{
    static const QRegularExpression line(QStringLiteral("^(.{14}) (.{6}) (\\d{8})$"));
    QStringList read;
    for (const QString &text : LinesOf(file)) {
        const QRegularExpressionMatch match = line.match(text);
        const QDate date = QDate::fromString(match.captured(3), QStringLiteral("yyyyMMdd"));
        read << (match.hasMatch() && date.isValid() ? match.captured(1).trimmed() + QLatin1Char(' ')
                         + match.captured(2).trimmed() + QLatin1Char(' ') + date.toString(Qt::ISODate)
                                                    : QStringLiteral("<unreadable> ") + text);
    }
    return read;
}

/// The Minos rows as CSV: five fields each, quotes taken off.
QStringList ReadMinos(const QByteArray &file)
{
    QStringList read;
    for (const QString &text : LinesOf(file)) {
        QStringList fields = SplitDelimitedLine(text, QLatin1Char(','));
        StripFieldQuotes(fields);
        read << (fields.size() == 5 ? fields.join(QLatin1Char('|')) : QStringLiteral("<not five fields> ") + text);
    }
    return read;
}

/// The call history: three fields a line, the user text read apart.
QStringList ReadN1mm(const QByteArray &file)
{
    static const QRegularExpression userText(QStringLiteral("^(?:2nd (\\S+) (\\d+); )?seen (\\d{4}-\\d{2}-\\d{2})$"));
    QStringList read;
    const QStringList lines = LinesOf(file);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        const QRegularExpressionMatch match = userText.match(fields.value(2));
        if (i == 0)
            read << lines.at(i);
        else if (fields.size() == 3 && match.hasMatch())
            read << QStringList { fields.at(0), fields.at(1), match.captured(1), match.captured(2), match.captured(3) }
                        .join(QLatin1Char('|'));
        else
            read << QStringLiteral("<unreadable> ") + lines.at(i);
    }
    return read;
}

void CompareLeftOut(const LeftOutCount &counted, const LeftOutCount &expected)
{
    QCOMPARE(counted.calls, expected.calls);
    QCOMPARE(counted.locators, expected.locators);
}

} // namespace

class TestLoggerFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void roundTrip_data();
    void roundTrip();
};

void TestLoggerFiles::roundTrip_data()
{
    QTest::addColumn<int>("calls"); // FillDatabase() calls, or
    QTest::addColumn<QStringList>("records"); // "CALL|LOCATOR|days ago|weight" each

    QTest::newRow("no call") << 0 << QStringList();
    QTest::newRow("many calls, long ones and a few beyond ASCII") << 6000 << QStringList();
    QTest::newRow("texts that would break the formats")
        << 0
        << QStringList { "DL1ABC/P/LONGX|JO62QM|1|1", "DL1ABC/P/LONGXY|JO62QM|1|1", "DL1,AB|JO62QM|1|1",
                         "DL1\"AB|JO62QM|1|1",        "DL1 ABC|JO62QM|1|1",         "D\u00DC1ABC|JO62QM|1|1",
                         "DL2\x01|JO62QM|1|1",        "OK1KPA|JO60LJ12|1|5",        "OK1KPA|JO60LJ|2|1",
                         "OK1KPA|JO60,A|3|1",         "OK2AB|JO60,LJ|1|1",          "OK3CD|JN89AB|1|3",
                         "OK3CD|JN89A\"B|2|2",        "OK3CD|JN89 AB|3|1",          "OK4EF|JO70ABCD|1|3",
                         "OK4EF|JO70ABCDE|2|2",       "OK4EF|JO70AB|3|1" };
}

void TestLoggerFiles::roundTrip()
{
    QFETCH(int, calls);
    QFETCH(QStringList, records);
    if (calls > 0)
        FillDatabase(calls);
    const QDateTime today(QDate(2026, 12, 6), QTime(0, 0));
    for (const QString &record : records) {
        const QStringList parts = record.split(QLatin1Char('|'));
        AddCallLocator(parts.at(0), parts.at(1), today.addDays(-parts.at(2).toInt()), parts.at(3).toInt());
    }
    const OutputLayout layout(CallDatabase);

    LeftOutCount tucnak, minos, n1mm;
    QByteArray tucnakFile, minosFile, n1mmFile;
    DayBytes tucnakDays(TucnakDateFormat()), minosDays(MinosDateFormat()), n1mmDays(N1mmHistoryDateFormat());
    AppendTucnakFile(layout, 0, layout.size(), tucnakFile, tucnakDays, tucnak);
    AppendMinosFile(layout, 0, layout.size(), minosFile, minosDays, minos);
    AppendN1mmHistory(layout, 0, layout.size(), n1mmFile, n1mmDays, n1mm);
    QCOMPARE(tucnakFile, BuildTucnakFile(layout));
    QCOMPARE(minosFile, BuildMinosFile(layout));
    QCOMPARE(n1mmFile, BuildN1mmHistory(layout));

    const Expected expectedTucnak = ExpectedTucnak(layout);
    QCOMPARE(ReadTucnak(tucnakFile), expectedTucnak.lines);
    CompareLeftOut(tucnak, expectedTucnak.leftOut);
    const Expected expectedMinos = ExpectedMinos(layout);
    QCOMPARE(ReadMinos(minosFile), expectedMinos.lines);
    CompareLeftOut(minos, expectedMinos.leftOut);
    const Expected expectedN1mm = ExpectedN1mm(layout);
    QCOMPARE(ReadN1mm(n1mmFile), expectedN1mm.lines);
    CompareLeftOut(n1mm, expectedN1mm.leftOut);

    // Something is written, and something left out, wherever the database
    // holds calls of both kinds.
    if (layout.size() > 0) {
        QVERIFY(!expectedTucnak.lines.isEmpty() && expectedTucnak.leftOut.calls > 0);
        QVERIFY(expectedN1mm.lines.size() > 1);
    }
}

GRIDCOL_TEST_MAIN(TestLoggerFiles)
#include "tst_loggerfiles.moc"
