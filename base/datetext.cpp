// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/datetext.h"

#include "base/text.h"

#include <limits>

namespace {

constexpr int maxCachedTexts = 4096;

} // namespace

void PrepareDateHandling()
{
    const QDateTime parsed = QDateTime::fromString(QStringLiteral("250611"), QStringLiteral("yyMMdd"));
    Q_UNUSED(parsed.toString(QStringLiteral("dd.MM.yyyy")))
    Q_UNUSED(parsed.toMSecsSinceEpoch())
}

DateTextParser::DateTextParser(const QString &format)
    : m_format(format)
{
    static const QStringList numberFields { QStringLiteral("dd"),   QStringLiteral("MM"), QStringLiteral("yyyy"),
                                            QStringLiteral("yy"),   QStringLiteral("HH"), QStringLiteral("hh"),
                                            QStringLiteral("mm"),   QStringLiteral("ss") };
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (!c.isLetter()) {
            if (c == QLatin1Char('\'') || c == QLatin1Char('+')) {
                m_fields.clear();
                return;
            }
            ++i;
            continue;
        }
        int run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (!numberFields.contains(format.mid(i, run))) {
            m_fields.clear();
            return;
        }
        m_fields.append({ i, run });
        i += run;
    }
}

QString DateTextParser::withoutSigns(QStringView text) const
{
    QString digits = text.toString();
    if (m_fields.isEmpty() || text.size() != m_format.size() || !text.contains(QLatin1Char('+')))
        return digits;
    for (const QPair<int, int> &field : m_fields) {
        if (digits.at(field.first) != QLatin1Char('+'))
            continue;
        bool restDigits = true;
        for (int k = field.first + 1; k < field.first + field.second; ++k)
            restDigits = restDigits && digits.at(k).unicode() >= '0' && digits.at(k).unicode() <= '9';
        if (restDigits)
            digits[field.first] = QLatin1Char('0');
    }
    return digits;
}

QDateTime DateTextParser::parseText(QStringView text) const
{
    return QDateTime::fromString(withoutSigns(text), m_format);
}

QDateTime DateTextParser::parse(QStringView text)
{
    const quint64 packed = PackShortAscii(text);
    if (packed != 0) {
        const auto it = m_shortCache.constFind(packed);
        if (it != m_shortCache.constEnd())
            return it.value();
        if (m_shortCache.size() >= maxCachedTexts)
            m_shortCache.clear();
        const QDateTime parsed = parseText(text);
        m_shortCache.insert(packed, parsed);
        return parsed;
    }
    const QString whole = text.toString();
    const auto it = m_cache.constFind(whole);
    if (it != m_cache.constEnd())
        return it.value();
    if (m_cache.size() >= maxCachedTexts)
        m_cache.clear();
    const QDateTime parsed = parseText(whole);
    m_cache.insert(whole, parsed);
    return parsed;
}

QString DayTexts::text(const QDateTime &dateTime)
{
    // Formatting looks at the date part only, and a database spans a few
    // thousand days at most: each day is formatted once.
    const qint64 key = dateTime.isValid() ? dateTime.date().toJulianDay() : std::numeric_limits<qint64>::min();
    const auto it = m_texts.constFind(key);
    if (it != m_texts.constEnd())
        return it.value();
    if (m_texts.size() >= maxCachedTexts)
        m_texts.clear();
    const QString text = dateTime.toString(m_format);
    m_texts.insert(key, text);
    return text;
}

const QByteArray &DayBytes::text(const QDateTime &date, qint64 stamp)
{
    // Only local dates are kept: the same moment is another day in UTC.
    if (date.timeSpec() != Qt::LocalTime) {
        m_other = m_days.text(date).toLocal8Bit();
        return m_other;
    }
    Slot &slot = m_slots[int((quint64(stamp) * 0x9E3779B97F4A7C15ull) >> 52)];
    if (!slot.filled || slot.stamp != stamp) {
        slot.text = m_days.text(date).toLocal8Bit();
        slot.stamp = stamp;
        slot.filled = true;
    }
    return slot.text;
}
