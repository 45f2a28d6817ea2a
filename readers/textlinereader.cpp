// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/textlinereader.h"

#include <cstring>

namespace {

constexpr int blockSize = 64 * 1024;

} // namespace

TextLineReader::TextLineReader(int bufferSize)
    : m_limit(bufferSize - 1)
{
}

bool TextLineReader::open(const QString &path)
{
    m_file.setFileName(path);
    // QFile refuses directories, which the C runtime would open and then fail to read.
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    m_block.resize(blockSize);
    m_pos = m_size = 0;
    m_atEnd = m_exhausted = false;
    return true;
}

bool TextLineReader::fill()
{
    if (m_exhausted)
        return false;
    const qint64 got = m_file.read(m_block.data(), m_block.size());
    if (got <= 0) {
        m_exhausted = true;
        return false;
    }
    m_pos = 0;
    m_size = int(got);
    return true;
}

int TextLineReader::nextByte()
{
    if (m_pos >= m_size && !fill())
        return -1;
    const unsigned char c = static_cast<unsigned char>(m_block.at(m_pos++));
    if (c != '\r')
        return c;
    // Text mode: CR LF reads as LF. Looking at the next byte does not count as
    // meeting the end of the file; a CR at the very end stays a CR.
    if (m_pos >= m_size && !fill())
        return c;
    if (m_block.at(m_pos) == '\n') {
        ++m_pos;
        return '\n';
    }
    return c;
}

bool TextLineReader::readLine(QByteArray &line)
{
    // The same buffer serves line after line: a reserved capacity survives
    // resize(0), which would otherwise give the memory back every time.
    if (line.capacity() < m_limit)
        line.reserve(m_limit);
    line.resize(0);
    if (m_atEnd)
        return false;
    while (line.size() < m_limit) {
        if (m_pos >= m_size && !fill()) {
            m_atEnd = true;
            return false;
        }
        // Take the plain bytes up to the next CR or LF in one go; those two
        // are handled one at a time below.
        const char *start = m_block.constData() + m_pos;
        const int wanted = qMin(m_size - m_pos, m_limit - line.size());
        int run = 0;
        while (run < wanted && start[run] != '\n' && start[run] != '\r')
            ++run;
        line.append(start, run);
        m_pos += run;
        if (run == wanted)
            continue;
        const int c = nextByte();
        line.append(char(c));
        if (c == '\n')
            break;
    }
    // A buffer of one byte holds only the terminating zero: fgets reads nothing
    // and that read never reaches the end.
    return true;
}

bool TextLineReader::readLine(QString &line)
{
    if (!readLine(m_raw)) {
        line.clear();
        return false;
    }
    DecodeLine(m_raw, line);
    return true;
}

QString DecodeLine(const QByteArray &line)
{
    QString text;
    DecodeLine(line, text);
    return text;
}

void DecodeLine(const QByteArray &line, QString &text)
{
    const char *data = line.constData();
    const int length = int(qstrnlen(data, uint(line.size())));
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            text = QString::fromUtf8(data, length);
            return;
        }
    }
    // ASCII, as nearly every line is: widened into the text's own buffer.
    text.resize(length);
    QChar *out = text.data();
    for (int i = 0; i < length; ++i)
        out[i] = QLatin1Char(data[i]);
}

QStringList ChatListWords(const QString &line)
{
    const QString simplified = line.simplified();
    if (simplified.contains(QLatin1String("chat>"), Qt::CaseInsensitive))
        return {};
    const QStringList words = simplified.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.size() < 3 ? QStringList() : words;
}
