// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/text.h"

#include <QLocale>

#include <limits>

quint64 PackShortAscii(QStringView text)
{
    if (text.isEmpty() || text.size() > 8)
        return 0;
    quint64 packed = quint64(text.size()) << 56;
    for (int i = 0; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (c >= 0x80)
            return 0;
        packed |= quint64(c) << (7 * i);
    }
    return packed;
}

QStringView SimplifiedView(QStringView text, QString &storage)
{
    const int size = int(text.size());
    if (size == 0)
        return text;
    const QChar *data = text.data();
    bool simplified = true;
    for (int i = 0; i < size; ++i) {
        const ushort u = data[i].unicode();
        // Printable ASCII, nearly every character, is never a space.
        if (u > ' ' && u < 0x7f)
            continue;
        // A space is kept only as a single blank between other characters.
        if (data[i].isSpace() && (u != ' ' || i == 0 || i == size - 1 || data[i + 1].isSpace())) {
            simplified = false;
            break;
        }
    }
    if (simplified)
        return text;
    storage = text.toString().simplified();
    return storage;
}

int SplitView(QStringView text, QChar separator, QStringView *fields, int count)
{
    int found = 0;
    for (qsizetype start = 0; found < count;) {
        const qsizetype stop = text.indexOf(separator, start);
        fields[found++] = text.mid(start, stop < 0 ? -1 : stop - start);
        if (stop < 0)
            break;
        start = stop + 1;
    }
    return found;
}

namespace {

/// The conversions of QString: the C locale, group separators rejected.
const QLocale &Numbers()
{
    static const QLocale numbers = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    return numbers;
}

} // namespace

namespace {

QStringView TrimmedSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    while (end > begin && text.at(end - 1).isSpace())
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

int ToInt(QStringView text, bool *ok)
{
    const QStringView number = TrimmedSpaces(text);
    qsizetype i = 0;
    const bool negative = !number.isEmpty() && number.at(0) == QLatin1Char('-');
    if (!number.isEmpty() && (negative || number.at(0) == QLatin1Char('+')))
        ++i;
    qint64 value = 0;
    bool valid = i < number.size();
    for (; valid && i < number.size(); ++i) {
        const ushort c = number.at(i).unicode();
        valid = c >= '0' && c <= '9' && value <= qint64(1) << 32;
        value = 10 * value + (c - '0');
    }
    if (negative)
        value = -value;
    valid = valid && value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
    if (ok)
        *ok = valid;
    return valid ? int(value) : 0;
}

double ToDouble(QStringView text)
{
    const QStringView number = TrimmedSpaces(text);
    for (const QChar c : number) {
        if (c.unicode() <= ' ' || c.unicode() >= 0x7f)
            return 0.0;
    }
    return Numbers().toDouble(number);
}

bool LocalEncodingKeepsAscii()
{
    static const bool keeps = [] {
        QString ascii;
        for (int c = 1; c < 0x80; ++c)
            ascii += QLatin1Char(char(c));
        return ascii.toLocal8Bit() == ascii.toLatin1();
    }();
    return keeps;
}

void AppendLocal8Bit(QByteArray &out, QStringView text)
{
    if (LocalEncodingKeepsAscii()) {
        const int start = out.size();
        out.resize(start + int(text.size()));
        char *bytes = out.data() + start;
        int i = 0;
        for (; i < text.size() && text.at(i).unicode() < 0x80; ++i)
            bytes[i] = char(text.at(i).unicode());
        if (i == text.size())
            return;
        out.resize(start);
    }
    out += text.toString().toLocal8Bit();
}

void AppendDecimal(QByteArray &out, qint64 value)
{
    char digits[24];
    char *end = digits + sizeof digits;
    char *p = end;
    // Worked out on the magnitude as unsigned, so that the smallest number has one too.
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    out.append(p, int(end - p));
}
