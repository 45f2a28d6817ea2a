// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The EDI log reader on one file, with a blacklist that names a contact;
// the line reader against plain lines, the call index against a walk.

#include "fuzzsupport.h"

#include "database/blacklist.h"
#include "readers/edilog.h"
#include "readers/sourcefiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QDateTime day(QDate(2026, 5, 1), QTime(0, 0));
    Blacklist.append({ QStringLiteral("DL1XYZ"), QStringLiteral("DL0ABC"), day });
    Blacklist.append({ QStringLiteral("DL1XYZ"), QStringLiteral("DL0ABC"), QDateTime() });
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString path = Fuzz::ScratchDir(QStringLiteral("edi")) + QStringLiteral("/log.edi");
    Fuzz::WriteFile(path, bytes);
    ReadEdiFile(SourceFile { QStringLiteral("contest.edi"), path });
    Fuzz::CheckLineReader(path, bytes, 99);
    Fuzz::BuildOutputs();
    return 0;
}
