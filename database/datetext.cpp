#include "database/datetext.h"

namespace {

constexpr int maxCachedTexts = 4096;

} // namespace

DateTextParser::DateTextParser(const QString &format)
    : m_format(format)
{
}

QDateTime DateTextParser::parse(const QString &text)
{
    const auto it = m_cache.constFind(text);
    if (it != m_cache.constEnd())
        return it.value();
    if (m_cache.size() >= maxCachedTexts)
        m_cache.clear();
    const QDateTime parsed = QDateTime::fromString(text, m_format);
    m_cache.insert(text, parsed);
    return parsed;
}

QString DayText(const QDateTime &dateTime)
{
    static QDate lastDay;
    static bool lastValid = false;
    static QString lastText;
    static bool primed = false;

    // Formatting looks at the date part only, so that is the key.
    const QDate day = dateTime.date();
    const bool valid = dateTime.isValid();
    if (primed && valid == lastValid && day == lastDay)
        return lastText;
    lastText = dateTime.toString(QStringLiteral("dd.MM.yyyy"));
    lastDay = day;
    lastValid = valid;
    primed = true;
    return lastText;
}
