#include "database/datetext.h"

#include <limits>

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
    // Formatting looks at the date part only, and a database spans a few
    // thousand days at most: each day is formatted once.
    static QHash<qint64, QString> texts;
    const qint64 key = dateTime.isValid() ? dateTime.date().toJulianDay() : std::numeric_limits<qint64>::min();
    const auto it = texts.constFind(key);
    if (it != texts.constEnd())
        return it.value();
    if (texts.size() >= maxCachedTexts)
        texts.clear();
    const QString text = dateTime.toString(QStringLiteral("dd.MM.yyyy"));
    texts.insert(key, text);
    return text;
}
