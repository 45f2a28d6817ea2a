// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QVector>

#include <algorithm>

/// Hands out bytes in pieces of the given sizes, over and over, as a pipe
/// or a slow disk may: a reader must give the same result whatever the
/// pieces, a character or a tag cut anywhere included. Sequential, so that
/// a reader cannot ask for the size ahead.
class PieceDevice : public QIODevice
{
public:
    PieceDevice(const QByteArray &bytes, const QVector<int> &sizes)
        : m_bytes(bytes)
        , m_sizes(sizes)
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_at + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const int piece = qMax(1, m_sizes.at(m_next++ % m_sizes.size()));
        const int size = int(std::min<qint64>({ maxSize, qint64(piece), qint64(m_bytes.size() - m_at) }));
        if (size <= 0)
            return m_at >= m_bytes.size() ? -1 : 0;
        std::copy_n(m_bytes.constData() + m_at, size, data);
        m_at += size;
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    QVector<int> m_sizes;
    int m_at = 0;
    int m_next = 0;
};
