#include "app/clock.h"

namespace {

QDateTime moment;
int momentGeneration = 0;
QDateTime fixedWallTime;

} // namespace

namespace Clock {

QDateTime now()
{
    if (!moment.isValid()) {
        moment = QDateTime::currentDateTime();
        ++momentGeneration;
    }
    return moment;
}

void setNow(const QDateTime &fixed)
{
    moment = fixed;
    ++momentGeneration;
}

void reset()
{
    moment = QDateTime();
    ++momentGeneration;
}

int generation()
{
    now();
    return momentGeneration;
}

QDateTime wallTime()
{
    return fixedWallTime.isValid() ? fixedWallTime : QDateTime::currentDateTime();
}

void setWallTime(const QDateTime &moment)
{
    fixedWallTime = moment;
}

bool setNowFromEnvironment()
{
    const QByteArray text = qgetenv("GRIDCOL_NOW");
    if (text.isEmpty())
        return true;
    const QDateTime fixed = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    if (!fixed.isValid())
        return false;
    setNow(fixed.toLocalTime());
    return true;
}

} // namespace Clock
