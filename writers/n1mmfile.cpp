// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/n1mmfile.h"

#include "base/text.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

void AppendN1mmText(const OutputLayout &layout, int begin, int end, QByteArray &text)
{
    for (int i = begin; i < end; ++i) {
        const RankedLocatorList ranked = layout.locatorsAt(i);
        AppendLocal8Bit(text, layout.callAt(i));
        text += ";;";
        AppendLocal8Bit(text, ranked.at(0).locator);
        if (ranked.size() >= 2) {
            text += ';';
            AppendLocal8Bit(text, ranked.at(1).locator);
            text += ';';
        }
        text += '\n';
    }
}

QByteArray BuildN1mmText(const OutputLayout &layout)
{
    QByteArray text;
    text.reserve(24 * layout.size()); // about 20 bytes a call
    AppendN1mmText(layout, 0, layout.size(), text);
    return text;
}

void WriteN1mmFile(OutputPhase &phase, const OutputLayout &layout)
{
    phase.print("Generate N1MM import file n1mm_qth.txt with " + QByteArray::number(layout.size()) + " calls\n");
    phase.saveInPieces(
        QStringLiteral("n1mm_qth.txt"), layout.size(),
        [&layout](int begin, int end, QByteArray &out) { AppendN1mmText(layout, begin, end, out); },
        OutputMode::Text);
}
