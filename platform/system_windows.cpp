// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include <QtGlobal>

namespace Platform {

void PrepareProcess(char **argv)
{
    Q_UNUSED(argv)
    // Nothing to do: Windows has no signal for a file size limit (a write
    // beyond one simply fails), and its C runtime and Qt take the time zone
    // from the system settings without rereading files.
}

const char *TextLineEnd()
{
    return "\r\n";
}

bool NamesIgnoreCase()
{
    return true;
}

ScratchStream::ScratchStream()
    : m_file(std::tmpfile())
{
}

ScratchStream::~ScratchStream()
{
    if (m_file)
        std::fclose(m_file);
}

bool ScratchStream::copyTo(FILE *out)
{
    // Windows has no stream in memory; the temporary file is read back.
    if (!m_file || std::fflush(m_file) != 0 || std::ferror(m_file))
        return false;
    std::rewind(m_file);
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, m_file)) > 0) {
        if (std::fwrite(chunk, 1, got, out) != got)
            return false;
    }
    return !std::ferror(m_file);
}

} // namespace Platform
