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
    void parseLine_data();
    void parseLine();
};

void TestKstList::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("user"); // "call|locator", or "-" for none
    QTest::newRow("a user") << "DL1ABC JO62QM Hans\n" << "DL1ABC|JO62QM";
    QTest::newRow("a call in parentheses") << "(DL1ABC) JO62QM Hans\n" << "DL1ABC|JO62QM";
    QTest::newRow("a parenthesis left open") << "(DL1ABC JO62QM Hans Peter"
                                             << "DL1ABC|JO62QM";
    QTest::newRow("any white space, more words") << " \tDL1ABC  JO62QM\tHans 144 432\r\n" << "DL1ABC|JO62QM";
    QTest::newRow("two words") << "DL1ABC JO62QM\n" << "-";
    QTest::newRow("a chat message, any case") << "DL1ABC Chat> JO62QM hi\n" << "-";
    QTest::newRow("chat> inside a word") << "DL1ABC JO62QM xchat>y\n" << "-";
    QTest::newRow("nothing but parentheses") << "() JO62QM Hans\n" << "-";
    QTest::newRow("empty line") << "\n" << "-";
}

void TestKstList::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, user);
    const std::optional<KstUser> parsed = ParseKstLine(line);
    QCOMPARE(parsed ? parsed->call + QLatin1Char('|') + parsed->locator : QStringLiteral("-"), user);
}

GRIDCOL_TEST_MAIN(TestKstList)
#include "tst_kstlist.moc"
