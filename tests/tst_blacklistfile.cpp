// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/blacklistfile.h"

/*
 * The lines of a blacklist file: own call, worked call and the day of a QSO.
 */

class TestBlacklistFile : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
};

void TestBlacklistFile::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry"); // "own|worked|dd.MM.yyyy HH:mm", or "-" for none
    QTest::newRow("an entry") << "DL1AAA DL2BBB 2025-05-06\n" << "DL1AAA|DL2BBB|06.05.2025 00:00";
    QTest::newRow("with a time") << "DL1AAA DL2BBB 2025-05-06T14:30\n" << "DL1AAA|DL2BBB|06.05.2025 14:30";
    QTest::newRow("any white space, more words") << "\tDL1AAA   DL2BBB 2025-05-06 why\r\n"
                                                 << "DL1AAA|DL2BBB|06.05.2025 00:00";
    QTest::newRow("a date that is not ISO 8601") << "DL1AAA DL2BBB 06.05.2025\n" << "DL1AAA|DL2BBB|invalid";
    QTest::newRow("two words") << "DL1AAA DL2BBB\n" << "-";
    QTest::newRow("a chat message") << "DL1AAA DL2BBB Chat> 2025-05-06\n" << "-";
    QTest::newRow("empty line") << "\n" << "-";
}

void TestBlacklistFile::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    const std::optional<BlacklistEntry> parsed = ParseBlacklistLine(line);
    const QString date = parsed && parsed->date.isValid() ? parsed->date.toString(QStringLiteral("dd.MM.yyyy HH:mm"))
                                                          : QStringLiteral("invalid");
    QCOMPARE(parsed ? QStringList({ parsed->ownCall, parsed->workedCall, date }).join(QLatin1Char('|'))
                    : QStringLiteral("-"),
             entry);
}

GRIDCOL_TEST_MAIN(TestBlacklistFile)
#include "tst_blacklistfile.moc"
