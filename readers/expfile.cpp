// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/expfile.h"

#include "base/clock.h"
#include "base/text.h"

namespace {

/// 98 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 99;

constexpr int headerLines = 5;
constexpr int dateField = 0;
constexpr int callField = 2;
constexpr int locatorField = 5;

} // namespace

std::optional<AsciiRecord> ExpLineParser::parse(const QString &line)
{
    // Neither simplified nor stripped of its line end: the date must stand
    // alone in its field, and the line feed ends the last field.
    QStringView fields[locatorField + 1];
    if (SplitView(line, QLatin1Char(','), fields, locatorField + 1) <= locatorField)
        return std::nullopt;
    AsciiRecord record;
    record.call = fields[callField].toString().simplified();
    record.locator = fields[locatorField].toString().simplified();
    if (record.call.isEmpty() || record.locator.isEmpty())
        return std::nullopt;
    record.date = m_dates.parse(fields[dateField]);
    return record;
}

void ImportExpFiles(const QString &directory)
{
    ExpLineParser parser;
    ImportDelimitedFiles(ListSourceFiles(directory, QStringLiteral("*.exp")), lineBufferSize, headerLines, 1, parser,
                         Clock::Now());
}
