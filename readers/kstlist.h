// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

/// Callsign and locator of one user line of a KST chat user list.
struct KstUser
{
    QString call;
    QString locator;
};

/// The per-line step of the user list: the user a decoded line names, or
/// nothing for a line holding "chat>" (any case), a line of fewer than three
/// words, or one whose call or locator is empty once the parentheses around
/// the call are gone.
std::optional<KstUser> ParseKstLine(const QString &line);

/// Reads a saved KST chat user list ("kstlist"); every user goes to the
/// database with weight 10 and the moment of the run. Returns the number of
/// users handed on, 0 when the file cannot be read.
int ImportKstList(const QString &path);
