// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/calldatabase.h"

#include <QDate>
#include <QString>
#include <QTime>

/// Checking the QSOs of a contest log against the database: is each call
/// known, and from this locator?

/// One QSO of a log to be checked.
struct CheckedQso
{
    QDate date; ///< invalid where the log gives none that reads
    QTime time; ///< the same
    QString call; ///< upper case, simplified
    QString locator; ///< upper case, simplified
    int claimedQrb = -1; ///< the distance in km the log claims; -1 for none
    int line = 0; ///< where the QSO stands in its log: a line, or for ADIF a record
};

/// What the check says of a QSO.
enum class Verdict {
    Ok, ///< the call is known from this locator, with weight
    NewCall, ///< the call is not known, nor any near call
    NewLocator, ///< the call is known, not from here, but plausibly
    SuspectLocator, ///< the call is known from elsewhere: the locator is likely busted
    SuspectCall, ///< a near call is known from here: the call is likely busted
    BadLocator ///< the locator is not a six-character locator
};

/// The verdict's word in reports: "OK", "NEW-CALL", "NEW-LOC", "SUSPECT-LOC",
/// "SUSPECT-CALL", "BAD-LOC".
QString VerdictName(Verdict verdict);
/// The verdicts in the order reports count them.
constexpr Verdict allVerdicts[]
    = { Verdict::Ok, Verdict::NewCall, Verdict::NewLocator, Verdict::SuspectLocator, Verdict::SuspectCall,
        Verdict::BadLocator };
/// True for the verdicts that put points at stake: SUSPECT-LOC, SUSPECT-CALL, BAD-LOC.
bool IsSuspect(Verdict verdict);

/// The verdict on a QSO, with what it rests on.
struct QsoJudgement
{
    Verdict verdict = Verdict::Ok;
    int qrb = -1; ///< the distance the contest scores, in km; -1 where a locator is missing
    QString evidence; ///< the known locators, candidates and distances, as one line of text
    bool qrbHint = false; ///< the log claims a QRB more than 1 km off the computed one
};

/// The thresholds of the check.
namespace CheckRules {
/// A locator within this distance of one a call is known from is plausible;
/// a near call known within it of the logged locator is a candidate.
constexpr double plausibleKm = 100.0;
/// A locator weighing less than the best one's weight divided by this counts
/// as not known: other logs hold other people's busts too.
constexpr int weakDivisor = 4;
/// The most a claimed QRB may differ from the computed one, in km.
constexpr int qrbTolerance = 1;
} // namespace CheckRules

/// True for a portable or mobile call: one that ends in /P, /M, /MM or /AM.
bool IsPortableCall(QStringView call);

/// Every call one step from call: one character changed, two neighbours
/// swapped, one character left out or added (letters, digits and "/"), the
/// letter O for the digit 0 and back, a portable suffix added or dropped.
/// Each once; call itself not among them.
QStringList NearCalls(const QString &call);

/// Judges QSOs against a database, which must not change while it is used.
class LogChecker
{
public:
    explicit LogChecker(const CallList &database);

    /// The verdict on qso of a log whose own locator is ownLocator (empty
    /// or invalid: no distances from it) and own call ownCall (never a
    /// candidate for a busted call).
    QsoJudgement judge(const CheckedQso &qso, const QString &ownLocator, const QString &ownCall) const;

private:
    QsoJudgement judgeKnownCall(const CheckedQso &qso, const CallEntry &entry) const;
    QsoJudgement judgeUnknownCall(const CheckedQso &qso, const QString &ownCall) const;

    const CallList &m_database;
};
