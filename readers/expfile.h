// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/datetext.h"
#include "readers/delimitedfile.h"

#include <QString>

#include <optional>

/// Export files "*.exp": comma-separated, five header lines, then one record
/// a line with the date ("dd.MM.yy") in field 0, the call in field 2 and the
/// locator in field 5; every record has weight 1.

/// The per-line step of the "*.exp" import, with its own memory of dates.
class ExpLineParser
{
public:
    /// The record of a line, or nothing when it has fewer than six fields or
    /// an empty call or locator.
    std::optional<AsciiRecord> parse(const QString &line);

private:
    DateTextParser m_dates { QStringLiteral("dd.MM.yy") };
};

/// Reads every "*.exp" file of a directory.
void ImportExpFiles(const QString &directory);
