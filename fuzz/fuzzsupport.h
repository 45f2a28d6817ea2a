// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What every libFuzzer harness of gridcol shares: one fixed environment per
// process, a fresh run state per input, scratch files for readers that take
// a path, and checks of the readers' answers against simpler ways to the
// same answer. A failed check aborts, so that libFuzzer keeps the input.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

class AdifDataBase;

namespace Fuzz {

/// The fuzzer's bytes as a QByteArray.
QByteArray Bytes(const uint8_t *data, size_t size);

/// Starts the next input from the state of a fresh run: empty tables, "now"
/// and the wall clock fixed, console and debug log into a null stream.
void BeginInput();

/// A directory of this process's scratch space, created on first use; the
/// whole scratch space goes when the process ends.
QString ScratchDir(const QString &name);

/// Writes bytes as the file at path, replacing it; aborts when it cannot.
void WriteFile(const QString &path, const QByteArray &bytes);

/// Reports a failed check on standard error and aborts.
[[noreturn]] void Fail(const char *check, const QString &detail = QString());

/// The pieces a C runtime's fgets with a buffer of bufferSize bytes would
/// read from a file in text mode, worked out the plain way: CR LF becomes
/// LF first, then each piece is up to bufferSize - 1 bytes up to and
/// including a line feed; a last piece that does not fill the buffer is
/// never read.
QList<QByteArray> PlainLines(const QByteArray &bytes, int bufferSize);

/// Reads the file at path with the program's line reader and checks it
/// against PlainLines of its bytes.
void CheckLineReader(const QString &path, const QByteArray &bytes, int bufferSize);

/// Checks the call database's index against walking the list: every call at
/// its own position, no call twice.
void CheckCallIndex();

/// Checks FieldIndex(name), and the same for the name in lower and upper
/// case, against walking the catalogue with a case-insensitive compare.
void CheckFieldIndex(AdifDataBase &store, const QString &name);

/// Builds the content of every output in memory, so that the writers and
/// their sorting see whatever the readers put into the database.
void BuildOutputs();

} // namespace Fuzz
