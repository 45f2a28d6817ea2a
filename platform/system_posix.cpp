// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include <QByteArray>

#include <csignal>
#include <cstdlib>

#include <unistd.h>

namespace Platform {

void PrepareProcess(char **argv)
{
#if defined(__GLIBC__)
    // A large run keeps hundreds of megabytes in small blocks, and every new
    // page of them costs a page fault. Where the kernel gives huge pages only
    // to memory that asks for them, the C library asks when its tunable says
    // so; and it grows its heaps in steps of 64 MB instead of a page at a
    // time when another says so. It reads its tunables only as a process
    // starts, so the program starts itself anew with them once. Tunables set by the user are
    // left alone, and where the new start is not possible this one goes on.
    if (qEnvironmentVariableIsEmpty("GLIBC_TUNABLES")) {
        qputenv("GLIBC_TUNABLES", QByteArrayLiteral("glibc.malloc.hugetlb=1:glibc.malloc.top_pad=67108864"));
        execv("/proc/self/exe", argv);
        qunsetenv("GLIBC_TUNABLES");
    }
#else
    Q_UNUSED(argv)
#endif

    // A file size limit then makes a write fail, which the outputs handle,
    // instead of killing the run halfway.
    std::signal(SIGXFSZ, SIG_IGN);

    // Without TZ the C library reads /etc/localtime again for every local
    // time Qt works out, several times a record; naming that same file in TZ
    // keeps the zone and spares the reads.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
}

const char *TextLineEnd()
{
    return "\n";
}

bool NamesIgnoreCase()
{
    return false;
}

ScratchStream::ScratchStream()
    : m_file(open_memstream(&m_buffer, &m_size))
{
}

ScratchStream::~ScratchStream()
{
    if (m_file)
        std::fclose(m_file);
    std::free(m_buffer);
}

bool ScratchStream::copyTo(FILE *out)
{
    // The buffer and its size are brought up to date by a flush.
    if (!m_file || std::fflush(m_file) != 0 || std::ferror(m_file))
        return false;
    return m_size == 0 || std::fwrite(m_buffer, 1, m_size, out) == m_size;
}

} // namespace Platform
