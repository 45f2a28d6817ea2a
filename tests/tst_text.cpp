// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/text.h"

#include <limits>

/*
 * The text helpers that stand in for Qt's conversions: each answers as the
 * Qt function it replaces.
 */

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void views_data() { AddRows("text/views.tsv"); }

    void views()
    {
        QFETCH(QString, text);
        // The first fields, as QString::split() gives them.
        for (const QChar separator : { QLatin1Char(','), QLatin1Char(' ') }) {
            const QStringList split = text.split(separator);
            for (int count = 0; count <= split.size() + 1; ++count) {
                QStringView fields[8];
                const int found = SplitView(text, separator, fields, qMin(count, 8));
                QCOMPARE(found, qMin(qMin(count, 8), split.size()));
                for (int k = 0; k < found; ++k)
                    QCOMPARE(fields[k], QStringView(split.at(k)));
            }
        }

        QCOMPARE(ToInt(text), text.toInt());
        // The view itself when it is simplified already, else the simplified copy.
        QString storage;
        const QStringView simplified = SimplifiedView(text, storage);
        QCOMPARE(simplified, QStringView(text.simplified()));
        QCOMPARE(simplified.data() == text.constData(), text == text.simplified());
    }

    void numbers_data() { AddRows("text/numbers.tsv"); }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(bool, ok);
        QFETCH(double, real);
        bool read = !ok;
        QCOMPARE(ToInt(text, &read), value);
        QCOMPARE(read, ok);
        QCOMPARE(ToDouble(text), real);
    }

    void appendDecimal()
    {
        QByteArray numbers = "x", expected = "x";
        for (const qint64 value : { qint64(0), qint64(1), qint64(-1), qint64(9), qint64(10), qint64(1999999999),
                                    qint64(std::numeric_limits<int>::max()), qint64(std::numeric_limits<int>::min()),
                                    std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min() }) {
            AppendDecimal(numbers, value);
            numbers += ' ';
            expected += QByteArray::number(value) + ' ';
        }
        QCOMPARE(numbers, expected);
    }

    void appendLocal8Bit()
    {
        QByteArray out = "x", expected = "x";
        for (const char *text : { "", "DL1ABC",
                                  "D\xc3\x9c" "1",
                                  "JO62QM \xe2\x82\xac", "\xf0\x9f\x98\x80 a", "w" }) {
            AppendLocal8Bit(out, QString::fromUtf8(text));
            expected += QString::fromUtf8(text).toLocal8Bit();
            QCOMPARE(out, expected);
        }
    }
};

GRIDCOL_TEST_MAIN(TestText)
#include "tst_text.moc"
