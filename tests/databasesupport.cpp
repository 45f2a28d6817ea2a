// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"

#include "base/clock.h"
#include "database/calldatabase.h"

#include <QStringList>

void FillDatabase(int count)
{
    QStringList calls;
    for (int n = 0; n < count; ++n) {
        const int k = (n * 7919) % count;
        QString call = QStringLiteral("D%1%2").arg(QChar(u'A' + k % 26)).arg(k);
        if (k % 5 == 1)
            call += QStringLiteral("/P/LONGER");
        if (k % 97 == 3)
            call += QStringLiteral("Ü");
        calls << call;
    }
    calls << QString(70000, QLatin1Char('W'));
    const QDateTime today(Clock::Now().date(), QTime(0, 0));
    for (int n = 0; n < calls.size(); ++n) {
        for (int l = 0; l <= n % 4; ++l) {
            const QString locator = QStringLiteral("JO%1AB").arg((n + 3 * l) % 90, 2, 10, QLatin1Char('0'));
            AddCallLocator(calls.at(n), locator, today.addDays(-((n + l) % 700)), 1 + (n * l) % 3);
        }
    }
}

QString DatabaseText(const CallList &database, bool sortLocators)
{
    QString text;
    for (const CallEntry &entry : database) {
        QStringList locators;
        for (const LocatorEntry &locator : entry.locators)
            locators << QStringLiteral("%1 %2 %3")
                            .arg(locator.locator)
                            .arg(locator.weight)
                            .arg(locator.date.toString(QStringLiteral("dd.MM.yyyy")));
        if (sortLocators)
            locators.sort();
        text += entry.call + QLatin1Char(' ') + locators.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    return text;
}
