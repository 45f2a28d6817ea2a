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
    void splitDelimitedLine_data() { AddRows("delimitedfile/splitDelimitedLine.tsv"); }

    void splitDelimitedLine()
    {
        QFETCH(QString, line);
        QFETCH(QChar, separator);
        QFETCH(QStringList, fields);
        QCOMPARE(SplitDelimitedLine(line, separator), fields);
    }

    void stripFieldQuotes()
    {
        // One pair of enclosing quotes goes, and only one.
        QStringList quoted { "\"a\"", "\"\"a\"\"", "\"", "\"a", "a\"", "a\"b\"c", "" };
        StripFieldQuotes(quoted);
        QCOMPARE(quoted, QStringList({ "a", "\"a\"", "", "\"a", "a\"", "a\"b\"c", "" }));
    }

    void asciiLineParser_data() { AddRows("delimitedfile/asciiLineParser.tsv"); }

    void asciiLineParser()
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
            return record->call + QLatin1Char('|') + record->locator + QLatin1Char('|')
                + DateText(record->date, QStringLiteral("dd.MM.yyyy HH:mm"));
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
};

GRIDCOL_TEST_MAIN(TestDelimitedFile)
#include "tst_delimitedfile.moc"
