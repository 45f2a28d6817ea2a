// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class OutputLayout;
class OutputPhase;

/// The N1MM call history import "n1mm_qth.txt": each call with its best
/// locator, and its second best where it has more ("CALL;;LOC1;LOC2;").

/// Appends the lines of calls [begin, end) of the layout to text.
void AppendN1mmText(const OutputLayout &layout, int begin, int end, QByteArray &text);
/// The whole text.
QByteArray BuildN1mmText(const OutputLayout &layout);

/// Announces and writes "n1mm_qth.txt" in the working directory.
void WriteN1mmFile(OutputPhase &phase, const OutputLayout &layout);
