// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdio>

/// What differs between the systems gridcol runs on. The key wait, the other
/// such difference, keeps its own header (platform/keywait.h); each system has its
/// own source files in this folder, and no other part of the program asks
/// which system it runs on.
namespace Platform {

/// Sets the process up before anything else runs, and before Qt looks at the
/// time zone. It may start the program anew with the same arguments (argv,
/// as main() got it) to give it a better memory set-up; then it returns only
/// in the new process.
void PrepareProcess(char **argv);

/// How a line of a text file written in text mode ends on this system:
/// "\r\n" on Windows, "\n" elsewhere.
const char *TextLineEnd();

/// True where names are matched without regard to case: on Windows, whose
/// file systems find a file by its name written in any case, and where Qt's
/// ini reader matches the group and key names of gridcol.ini the same way.
bool NamesIgnoreCase();

/// A stdio stream whose text is kept aside, in memory where the system has
/// such streams and in a temporary file elsewhere, to be copied on later.
/// With it, work done beside other work can write its log lines now and
/// have them land where they belong in the log.
class ScratchStream
{
public:
    ScratchStream();
    ~ScratchStream();
    ScratchStream(const ScratchStream &) = delete;
    ScratchStream &operator=(const ScratchStream &) = delete;

    /// The stream to write to; null when none could be made.
    FILE *file() const { return m_file; }
    /// Writes everything written so far to out. False when some of it could
    /// not be kept or copied.
    bool copyTo(FILE *out);

private:
    FILE *m_file = nullptr;
    char *m_buffer = nullptr;
    std::size_t m_size = 0;
};

} // namespace Platform
