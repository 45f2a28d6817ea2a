// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The "*.exp" import on one file; the line reader against plain lines, the
// call index against a walk.

#include "fuzzsupport.h"

#include "readers/expfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString directory = Fuzz::ScratchDir(QStringLiteral("exp"));
    const QString path = directory + QStringLiteral("/log.exp");
    Fuzz::WriteFile(path, bytes);
    ImportExpFiles(directory);
    Fuzz::CheckLineReader(path, bytes, 99);
    Fuzz::BuildOutputs();
    return 0;
}
