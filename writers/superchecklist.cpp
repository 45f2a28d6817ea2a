// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/superchecklist.h"

#include "base/text.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

void AppendSuperCheckList(const OutputLayout &layout, int begin, int end, QByteArray &out)
{
    for (int i = begin; i < end; ++i) {
        AppendLocal8Bit(out, layout.callAt(i));
        out += '\n';
    }
}

QByteArray BuildSuperCheckList(const OutputLayout &layout)
{
    QByteArray out;
    out.reserve(10 * layout.size()); // about 8 bytes a call
    AppendSuperCheckList(layout, 0, layout.size(), out);
    return out;
}

void WriteSuperCheckList(OutputPhase &phase, const OutputLayout &layout)
{
    phase.print("Generate master.scp for WinTest and N1MM and as import for MEdit to create a master.dta file\n");
    phase.saveInPieces(
        QStringLiteral("master.scp"), layout.size(),
        [&layout](int begin, int end, QByteArray &out) { AppendSuperCheckList(layout, begin, end, out); },
        OutputMode::Text);
}
