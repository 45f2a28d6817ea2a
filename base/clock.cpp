// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/clock.h"

namespace {

QDateTime moment;
QDateTime fixedWallTime;

} // namespace

namespace Clock {

QDateTime Now()
{
    if (!moment.isValid())
        moment = QDateTime::currentDateTime();
    return moment;
}

void SetNow(const QDateTime &fixed)
{
    moment = fixed;
}

void Reset()
{
    moment = QDateTime();
}

QDateTime WallTime()
{
    return fixedWallTime.isValid() ? fixedWallTime : QDateTime::currentDateTime();
}

void SetWallTime(const QDateTime &fixed)
{
    fixedWallTime = fixed;
}

bool SetNowFromEnvironment()
{
    const QByteArray text = qgetenv("GRIDCOL_NOW");
    if (text.isEmpty())
        return true;
    const QDateTime fixed = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    if (!fixed.isValid())
        return false;
    SetNow(fixed.toLocalTime());
    return true;
}

} // namespace Clock
