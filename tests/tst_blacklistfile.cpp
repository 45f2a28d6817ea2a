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
    void parseLine_data() { AddRows("blacklistfile/parseLine.tsv"); }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, entry);
        const std::optional<BlacklistEntry> parsed = ParseBlacklistLine(line);
        const QString date = parsed ? DateText(parsed->date, QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
        QCOMPARE(parsed ? QStringList({ parsed->ownCall, parsed->workedCall, date }).join(QLatin1Char('|'))
                        : QStringLiteral("-"),
                 entry);
    }
};

GRIDCOL_TEST_MAIN(TestBlacklistFile)
#include "tst_blacklistfile.moc"
