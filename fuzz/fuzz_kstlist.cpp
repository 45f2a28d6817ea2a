// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The KST user list reader on one file: the line reader against plain
// lines, one user per usable line at weight 10, the call index against a walk.

#include "fuzzsupport.h"

#include "database/calldatabase.h"
#include "readers/kstlist.h"
#include "readers/textlinereader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString path = Fuzz::ScratchDir(QStringLiteral("kst")) + QStringLiteral("/kstlist");
    Fuzz::WriteFile(path, bytes);
    const int users = ImportKstList(path);
    Fuzz::CheckLineReader(path, bytes, 199);

    int usable = 0;
    for (const QByteArray &line : Fuzz::PlainLines(bytes, 199))
        usable += ParseKstLine(DecodeLine(line)) ? 1 : 0;
    qint64 weights = 0;
    for (const CallEntry &entry : CallDatabase) {
        for (const LocatorEntry &locator : entry.locators)
            weights += locator.weight;
    }
    if (users != usable || weights != 10 * qint64(usable))
        Fuzz::Fail("one user per usable line");
    Fuzz::BuildOutputs();
    return 0;
}
