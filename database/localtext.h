#pragma once

#include <QByteArray>
#include <QStringView>

/// True when the local 8-bit encoding writes ASCII as ASCII, as the encoding
/// of every real system does; then text that is plain ASCII needs no conversion.
bool LocalEncodingKeepsAscii();

/// Appends text in the local 8-bit encoding (as QString::toLocal8Bit()
/// converts it), without a conversion where it is plain ASCII.
void AppendLocal8Bit(QByteArray &out, QStringView text);

/// Appends a whole number in decimal digits, as QByteArray::number() writes it.
void AppendDecimal(QByteArray &out, qint64 value);
