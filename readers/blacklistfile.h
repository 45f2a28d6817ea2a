// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/blacklist.h"

#include <QString>

#include <optional>

/// The per-line step of the blacklist reader: the entry a decoded line names
/// ("own-call worked-call ISO-date"), or nothing for a line holding "chat>"
/// (any case) or fewer than three words.
std::optional<BlacklistEntry> ParseBlacklistLine(const QString &line);

/// Reads one blacklist file and appends its entries to table. A file that
/// cannot be read adds nothing and says nothing.
void ReadBlacklistFile(const QString &path, BlacklistTable &table);
