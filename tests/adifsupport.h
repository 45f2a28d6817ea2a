// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "adif/adifdatabase.h"

#include <QByteArray>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

/// The real logs of the test data.
extern const QString logFolder;

/// Reads bytes as an ADIF file into store; ReadAdifFile()'s result.
int Read(AdifDataBase &store, QByteArray bytes, const AdifProgress &progress = nullptr);

/// One line per record: its id, then "NAME=value" for each non-empty value
/// in catalogue order, separated by "|".
QStringList Records(const AdifDataBase &store);

/// "[catalogue] record / record ...", the records as Records() writes them.
QString Parsed(const AdifDataBase &store);

/// Text beyond ASCII without a byte-order mark reads and writes in the local
/// 8-bit encoding, UTF-8 in the suite's locale; a system whose local encoding
/// is another (Windows' ANSI code page) skips the rows that assume UTF-8.
bool LocalEncodingDiffers(const QByteArray &text);

/// Stores records written "NAME=value;NAME=value" and separated by "|"; a
/// "*" at the end of a record selects it, "N:" at its start gives it id N.
/// Returns what StoreRecord answered for each.
QStringList Store(AdifDataBase &store, const QString &records);

/// The records GetRecord() shows ("id:values"), the selected flags of the
/// record list ("*" or "-") where any is set or a selection is active, the
/// catalogue, the stored date range and the flags.
QString State(const AdifDataBase &store);

/// Counts DataChanged, AdifChanged and SelectionChanged.
struct SignalCounts
{
    explicit SignalCounts(AdifDataBase &store);
    QString text() const;
    QVector<std::shared_ptr<QSignalSpy>> spies;
};
