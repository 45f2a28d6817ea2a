// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// WinTest's VHF database "vhf.dtb": records of 26 bytes, callsign (13 bytes and a zero),
/// locator (6 bytes and a zero), month and year of writing ("MMyy") and a zero.
namespace VhfDtb {
constexpr int recordSize = 26;
constexpr int callOffset = 0;
constexpr int callSize = 13;
constexpr int locatorOffset = 14;
constexpr int locatorSize = 6;
constexpr int dateOffset = 21;
constexpr int dateSize = 4;
} // namespace VhfDtb

/// Callsign and locator of one record, as the reader takes them.
struct VhfDtbRecord
{
    QString call;
    QString locator;
};

/// The per-record step of the reader: the text up to the first zero byte of
/// the call field (bytes 0 to 13) and of the locator field (bytes 14 to 20),
/// decoded as UTF-8. record must hold 26 bytes.
VhfDtbRecord ParseVhfDtbRecord(const char *record);

/// Reads "vhf.dtb" of a source directory into the database, if there is one.
void ReadVhfDtb(const QString &directory);

