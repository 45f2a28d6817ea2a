// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/kstlist.h"

/*
 * The user lines of a saved KST chat user list.
 */

class TestKstList : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data() { AddRows("kstlist/parseLine.tsv"); }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, user);
        const std::optional<KstUser> parsed = ParseKstLine(line);
        QCOMPARE(parsed ? parsed->call + QLatin1Char('|') + parsed->locator : QStringLiteral("-"), user);
    }
};

GRIDCOL_TEST_MAIN(TestKstList)
#include "tst_kstlist.moc"
