// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The vhf.dtb reader on one file: every whole record counts once with
// weight 1; the call index against a walk.

#include "fuzzsupport.h"

#include "database/calldatabase.h"
#include "readers/vhfdtb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    static const QString directory = Fuzz::ScratchDir(QStringLiteral("vhfdtb"));
    Fuzz::WriteFile(directory + QStringLiteral("/vhf.dtb"), Fuzz::Bytes(data, size));
    ReadVhfDtb(directory);
    qint64 weights = 0;
    for (const CallEntry &entry : CallDatabase) {
        for (const LocatorEntry &locator : entry.locators)
            weights += locator.weight;
    }
    if (weights != qint64(size / VhfDtb::recordSize))
        Fuzz::Fail("one weight per whole record");
    Fuzz::BuildOutputs();
    return 0;
}
