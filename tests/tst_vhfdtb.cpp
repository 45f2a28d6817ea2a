// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/clock.h"
#include "database/calldatabase.h"
#include "readers/vhfdtb.h"
#include "database/locatororder.h"
#include "writers/outputlayout.h"
#include "writers/vhfdtb.h"

/*
 * WinTest's vhf.dtb: the records the reader takes, and a database written
 * and read back.
 */

namespace {

/// A record of 26 bytes: the bytes of the call field (14), the locator field
/// (7) and the date (5), each padded with zero bytes.
QByteArray Record(const QByteArray &call, const QByteArray &locator, const QByteArray &date)
{
    const auto field = [](QByteArray bytes, int size) { return bytes.append(QByteArray(size - bytes.size(), '\0')); };
    return field(call, 14) + field(locator, 7) + field(date, 5);
}

} // namespace

class TestVhfDtb : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void parseRecord_data() { AddRows("vhfdtb/parseRecord.tsv"); }

    void parseRecord()
    {
        QFETCH(QByteArray, callField);
        QFETCH(QByteArray, locatorField);
        QFETCH(QByteArray, dateField);
        QFETCH(QString, call);
        QFETCH(QString, locator);
        const QByteArray record = Record(callField, locatorField, dateField);
        QCOMPARE(record.size(), VhfDtb::recordSize);
        const VhfDtbRecord parsed = ParseVhfDtbRecord(record.constData());
        QCOMPARE(parsed.call, call);
        QCOMPARE(parsed.locator, locator);
    }

    void roundTrip()
    {
        // Each call with its best locator, and its second best where it has more,
        // the call of that record marked with a blank; calls cut to 13 bytes,
        // locators to 6.
        const QDateTime today(Clock::Now().date(), QTime(0, 0));
        for (int n = 0; n < 500; ++n) {
            const QString call = QStringLiteral("DL%1").arg(n) + QString(n % 15, QLatin1Char('X'));
            for (int l = 0; l <= n % 3; ++l)
                AddCallLocator(call, QStringLiteral("JO%1").arg(n + 7 * l) + QString(n % 3, QLatin1Char('A')),
                               today.addDays(-(n + l) % 50), 1 + (n * l) % 4);
        }
        const OutputLayout layout(CallDatabase);
        const QByteArray written = BuildVhfDtb(layout, Day("06.12.2026"));
        QStringList expected, read;
        for (int i = 0; i < layout.size(); ++i) {
            const QString call = layout.callAt(i).left(13).toString();
            const RankedLocatorList ranked = layout.locatorsAt(i);
            expected << call + QLatin1Char('|') + ranked.at(0).locator.left(6).toString();
            if (ranked.size() > 1)
                expected << (call.size() < 13 ? call + QLatin1Char(' ') : call) + QLatin1Char('|')
                        + ranked.at(1).locator.left(6).toString();
        }
        QCOMPARE(written.size(), expected.size() * VhfDtb::recordSize);
        for (int at = 0; at < written.size(); at += VhfDtb::recordSize) {
            const VhfDtbRecord record = ParseVhfDtbRecord(written.constData() + at);
            read << record.call + QLatin1Char('|') + record.locator;
            QCOMPARE(written.mid(at + VhfDtb::dateOffset, VhfDtb::dateSize + 1), QByteArray("1226", 5));
        }
        QCOMPARE(read, expected);
    }
};

GRIDCOL_TEST_MAIN(TestVhfDtb)
#include "tst_vhfdtb.moc"
