#include "database/localtext.h"

#include <QString>

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
