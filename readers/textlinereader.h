// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

/// Reads a source text file the way the C runtime's fgets reads a file opened
/// in text mode, which is how the line formats of the sources are defined:
///
/// - a read delivers at most bufferSize - 1 bytes, up to and including a line
///   feed; a longer line arrives in pieces, each of them a line of its own;
/// - a carriage return right before a line feed is dropped before the bytes
///   are counted; a lone carriage return stays;
/// - a read that meets the end of the file reports that, and its text is not
///   used: a last line without a line end is never seen. A last piece that
///   exactly fills the buffer is delivered, because that read stops before it
///   meets the end;
/// - a read error ends the file like its end.
class TextLineReader
{
public:
    /// bufferSize counts the terminating zero of the C buffer, as fgets does.
    explicit TextLineReader(int bufferSize);

    /// Opens the file for reading; false when it cannot be opened or is a directory.
    [[nodiscard]] bool open(const QString &path);

    /// Reads the next piece into line. False when this read met the end of
    /// the file or failed: the caller stops and does not use the piece.
    [[nodiscard]] bool readLine(QByteArray &line);

    /// Like readLine, with the piece decoded as UTF-8 up to its first zero byte.
    [[nodiscard]] bool readLine(QString &line);

    /// True once a read has met the end of the file.
    bool atEnd() const { return m_atEnd; }

private:
    int nextByte();
    bool fill();

    QFile m_file;
    QByteArray m_block;
    QByteArray m_raw; ///< the undecoded piece of readLine(QString &)
    int m_pos = 0;
    int m_size = 0;
    int m_limit;
    bool m_atEnd = false;
    bool m_exhausted = false;
};

/// The text of a raw line: UTF-8, up to the first zero byte, as a C string would end.
QString DecodeLine(const QByteArray &line);
/// The same into text, using its buffer again where it can.
void DecodeLine(const QByteArray &line, QString &text);

/// The words of a line of a list saved from the KST chat (user lists and
/// blacklists): simplified and split at blanks. Empty when the line is a chat
/// message (it holds "chat>" in any letter case) or has fewer than three words.
QStringList ChatListWords(const QString &line);
