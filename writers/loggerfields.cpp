// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/loggerfields.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

bool FitsLoggerField(QStringView text, int maxLength, FieldCharacters characters)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    const ushort beyond = characters == FieldCharacters::Ascii ? 0x80 : 0xffff;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u <= 0x20 || u == 0x7f || u == ',' || u == '"' || u >= beyond)
            return false;
        // Control characters beyond ASCII (C1): a line reader may take them for line ends.
        if (u >= 0x80 && u < 0xa0)
            return false;
    }
    return true;
}

QByteArray LeftOutLogLine(const QString &fileName, const LeftOutCount &leftOut)
{
    QByteArray line = "Left out of ";
    AppendLocal8Bit(line, fileName);
    line += ": ";
    AppendDecimal(line, leftOut.calls);
    line += leftOut.calls == 1 ? " call, " : " calls, ";
    AppendDecimal(line, leftOut.locators);
    line += leftOut.locators == 1 ? " locator" : " locators";
    line += " (their text would break the format)\n";
    return line;
}

void AppendPaddedAscii(QByteArray &out, QStringView text, int width)
{
    const int start = out.size();
    const int size = int(text.size());
    out.resize(start + qMax(size, width));
    char *bytes = out.data() + start;
    for (int i = 0; i < size; ++i)
        bytes[i] = char(text.at(i).unicode());
    for (int i = size; i < width; ++i)
        bytes[i] = ' ';
}

QByteArray BuildLoggerFile(const OutputLayout &layout, AppendLoggerLines append, const QString &dateFormat,
                           int bytesPerCall)
{
    DayBytes days(dateFormat);
    LeftOutCount leftOut;
    QByteArray out;
    out.reserve(bytesPerCall * layout.size() + 64);
    append(layout, 0, layout.size(), out, days, leftOut);
    return out;
}

void WriteLoggerFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, const char *what,
                     AppendLoggerLines append, const QString &dateFormat, LeftOutCount &leftOut)
{
    QByteArray line = QByteArray("Generate ") + what + ' ';
    AppendLocal8Bit(line, fileName);
    phase.print(line + '\n');
    phase.saveInPieces(
        fileName, layout.size(),
        [&layout, append, leftOut = &leftOut, days = DayBytes(dateFormat)](int begin, int end,
                                                                           QByteArray &out) mutable {
            append(layout, begin, end, out, days, *leftOut);
            leftOut->complete = end == layout.size();
        },
        OutputMode::Text);
}
