// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <cstring>

/// A text of one to eight ASCII characters as a number (seven bits a
/// character, the length on top), so that two such texts are equal exactly
/// when their numbers are; 0 for any other text.
quint64 PackShortAscii(QStringView text);

/// The text simplified (QString::simplified()); the view itself when it is
/// simplified already, as nearly every value read from a file is, else the
/// simplified copy, kept in storage.
QStringView SimplifiedView(QStringView text, QString &storage);

/// The first fields of text split at separator, as QString::split() gives
/// them, as views into text: at most count of them go to fields. Returns how
/// many went there.
int SplitView(QStringView text, QChar separator, QStringView *fields, int count);

/// The text as a whole number, as Qt 5's QString::toInt() reads it: white
/// space around it allowed (any, as QChar::isSpace() tells), a sign, decimal
/// digits; 0 where it is none or beyond the range of int, with *ok false.
/// (Qt 6 reads "7" followed by a zero character as 7 and rejects a no-break
/// space around it; gridcol reads the same numbers whichever Qt it runs on.)
int ToInt(QStringView text, bool *ok = nullptr);

/// The text as a number, as QString::toDouble() reads it; 0.0 where it is
/// none. Read as Qt 5 reads it: white space around it allowed, any other
/// character beyond printable ASCII makes it none.
double ToDouble(QStringView text);

/// True when the local 8-bit encoding writes ASCII as ASCII, as the encoding
/// of every real system does; then text that is plain ASCII needs no conversion.
bool LocalEncodingKeepsAscii();

/// Appends text in the local 8-bit encoding (as QString::toLocal8Bit()
/// converts it), without a conversion where it is plain ASCII.
void AppendLocal8Bit(QByteArray &out, QStringView text);

/// Appends a whole number in decimal digits, as QByteArray::number() writes it.
void AppendDecimal(QByteArray &out, qint64 value);

/// Where the characters or items of a Qt string or vector lie, found without
/// reading that memory: for asking the processor to fetch it ahead of use.
/// In Qt 5 the object is one pointer to a block that starts with a header,
/// and asking it for its data would read the header, which is what is to be
/// fetched; in Qt 6 the object holds the pointer to its data itself.
template<typename Shared>
const char *DataBlockOf(const Shared &object)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return reinterpret_cast<const char *>(object.constData());
#else
    static_assert(sizeof(Shared) == sizeof(void *), "one pointer to a block");
    const char *block;
    std::memcpy(&block, &object, sizeof block);
    return block;
#endif
}

/// Asks the processor to fetch the first two cache lines of a string's or
/// vector's data.
template<typename Shared>
void PrefetchData(const Shared &object)
{
    const char *block = DataBlockOf(object);
    __builtin_prefetch(block);
    __builtin_prefetch(block + 64);
}
