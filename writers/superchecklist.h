// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class OutputLayout;
class OutputPhase;

/// The super check partial file "master.scp" for WinTest, N1MM and MEdit:
/// every call of the database, one a line, in the call order.

/// Appends the lines of calls [begin, end) of the layout to out.
void AppendSuperCheckList(const OutputLayout &layout, int begin, int end, QByteArray &out);
/// The whole file.
QByteArray BuildSuperCheckList(const OutputLayout &layout);

/// Announces and writes "master.scp" in the working directory.
void WriteSuperCheckList(OutputPhase &phase, const OutputLayout &layout);
