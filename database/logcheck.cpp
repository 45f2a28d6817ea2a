// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "database/logcheck.h"

#include "base/maidenhead.h"
#include "database/locatororder.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

const char nearAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";
const char *const portableSuffixes[] = { "/P", "/M", "/MM", "/AM" };

QString DayOf(const QDateTime &date)
{
    return date.isValid() ? date.date().toString(Qt::ISODate) : QStringLiteral("no date");
}

/// "JO62QM 12, seen 2026-05-04"
QString Describe(const LocatorEntry &locator)
{
    return QStringLiteral("%1 %2, seen %3").arg(locator.locator, QString::number(locator.weight), DayOf(locator.date));
}

/// A locator's centre, where it is a locator of two, four or six characters.
bool CentreOf(const QString &locator, GeoPoint &centre)
{
    for (const int length : { 6, 4, 2 }) {
        if (IsLocatorOf(locator, length)) {
            centre = LocatorCentre(locator);
            return true;
        }
    }
    return false;
}

/// The distance in km between a valid six-character locator and a known
/// locator, or -1 where the known one is no locator.
double DistanceTo(const QString &logged, const QString &known)
{
    GeoPoint centre;
    if (!CentreOf(known, centre))
        return -1.0;
    return ArcDegrees(LocatorCentre(logged), centre) * kilometresPerDegree;
}

/// True when two six-character locators differ in one character, or lie in
/// neighbouring subsquares: the busts of a locator passed on by voice.
bool OneStepApart(const QString &a, const QString &b)
{
    if (!IsLocator6(b) || a == b)
        return false;
    int differences = 0;
    for (int i = 0; i < 6; ++i)
        differences += a.at(i) != b.at(i) ? 1 : 0;
    if (differences == 1)
        return true;
    const GeoPoint pa = LocatorCorner(a), pb = LocatorCorner(b);
    const double columns = std::fabs(pa.longitude - pb.longitude) / LocatorWidth(6);
    const double rows = std::fabs(pa.latitude - pb.latitude) / LocatorHeight(6);
    return columns < 1.5 && rows < 1.5;
}

/// The locators of an entry that count as known: in the locator order, each
/// weighing at least a quarter of the best.
QVector<LocatorEntry> StrongLocators(const QVector<LocatorEntry> &ranked)
{
    QVector<LocatorEntry> strong;
    for (const LocatorEntry &locator : ranked) {
        if (qint64(locator.weight) * CheckRules::weakDivisor >= qint64(ranked.first().weight))
            strong.append(locator);
    }
    return strong;
}

} // namespace

QString VerdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        return QStringLiteral("OK");
    case Verdict::NewCall:
        return QStringLiteral("NEW-CALL");
    case Verdict::NewLocator:
        return QStringLiteral("NEW-LOC");
    case Verdict::SuspectLocator:
        return QStringLiteral("SUSPECT-LOC");
    case Verdict::SuspectCall:
        return QStringLiteral("SUSPECT-CALL");
    case Verdict::BadLocator:
        return QStringLiteral("BAD-LOC");
    }
    return QString();
}

bool IsSuspect(Verdict verdict)
{
    return verdict == Verdict::SuspectLocator || verdict == Verdict::SuspectCall || verdict == Verdict::BadLocator;
}

bool IsPortableCall(QStringView call)
{
    for (const char *suffix : portableSuffixes) {
        if (call.endsWith(QLatin1String(suffix)))
            return true;
    }
    return false;
}

QStringList NearCalls(const QString &call)
{
    QSet<QString> seen { call };
    QStringList near;
    const auto add = [&](const QString &candidate) {
        if (!candidate.isEmpty() && !seen.contains(candidate)) {
            seen.insert(candidate);
            near.append(candidate);
        }
    };
    const int size = call.size();
    for (int i = 0; i < size; ++i) {
        for (const char *c = nearAlphabet; *c; ++c) {
            QString changed = call;
            changed[i] = QLatin1Char(*c);
            add(changed);
        }
        if (i + 1 < size) {
            QString swapped = call;
            swapped[i] = call.at(i + 1);
            swapped[i + 1] = call.at(i);
            add(swapped);
        }
        add(QString(call).remove(i, 1));
    }
    for (int i = 0; i <= size; ++i) {
        for (const char *c = nearAlphabet; *c; ++c)
            add(QString(call).insert(i, QLatin1Char(*c)));
    }
    bool portable = false;
    for (const char *suffix : portableSuffixes) {
        if (call.endsWith(QLatin1String(suffix))) {
            add(call.left(size - int(qstrlen(suffix))));
            portable = true;
        }
    }
    if (!portable) {
        for (const char *suffix : portableSuffixes)
            add(call + QLatin1String(suffix));
    }
    return near;
}

LogChecker::LogChecker(const CallList &database)
    : m_database(database)
{
}

QsoJudgement LogChecker::judge(const CheckedQso &qso, const QString &ownLocator, const QString &ownCall) const
{
    QsoJudgement judgement;
    const bool locatorValid = IsLocator6(qso.locator);
    if (locatorValid && IsLocator6(ownLocator))
        judgement.qrb = ContestQrb(ownLocator.toUpper(), qso.locator);
    const int index = m_database.indexOf(qso.call);
    if (!locatorValid) {
        judgement.verdict = Verdict::BadLocator;
        judgement.evidence = QStringLiteral("not a six-character locator");
        if (index >= 0)
            judgement.evidence += QStringLiteral("; known ") + Describe(RankedLocators(m_database.at(index)).first());
    } else {
        const QsoJudgement found
            = index >= 0 ? judgeKnownCall(qso, m_database.at(index)) : judgeUnknownCall(qso, ownCall);
        judgement.verdict = found.verdict;
        judgement.evidence = found.evidence;
    }
    if (qso.claimedQrb >= 0 && judgement.qrb >= 0
        && std::abs(qso.claimedQrb - judgement.qrb) > CheckRules::qrbTolerance) {
        judgement.qrbHint = true;
        judgement.evidence += QStringLiteral("; claimed QRB %1 km, computed %2 km")
                                  .arg(qso.claimedQrb)
                                  .arg(judgement.qrb);
    }
    return judgement;
}

QsoJudgement LogChecker::judgeKnownCall(const CheckedQso &qso, const CallEntry &entry) const
{
    QsoJudgement judgement;
    const QVector<LocatorEntry> ranked = RankedLocators(entry);
    const QVector<LocatorEntry> strong = StrongLocators(ranked);
    for (const LocatorEntry &locator : strong) {
        if (locator.locator == qso.locator) {
            judgement.verdict = Verdict::Ok;
            judgement.evidence = QStringLiteral("known ") + Describe(locator);
            if (locator.locator != ranked.first().locator)
                judgement.evidence += QStringLiteral("; best ") + Describe(ranked.first());
            return judgement;
        }
    }

    QStringList known;
    bool oneStep = false;
    double nearest = -1.0;
    for (const LocatorEntry &locator : strong) {
        known << Describe(locator);
        oneStep = oneStep || OneStepApart(qso.locator, locator.locator);
        const double distance = DistanceTo(qso.locator, locator.locator);
        if (distance >= 0.0 && (nearest < 0.0 || distance < nearest))
            nearest = distance;
    }
    judgement.evidence = QStringLiteral("known ") + known.join(QStringLiteral("; "));
    for (const LocatorEntry &locator : ranked) {
        if (locator.locator == qso.locator) {
            judgement.evidence += QStringLiteral("; %1 only %2, seen %3, beside %4 %5")
                                      .arg(locator.locator, QString::number(locator.weight), DayOf(locator.date),
                                           ranked.first().locator, QString::number(ranked.first().weight));
        }
    }
    const double fromBest = DistanceTo(qso.locator, ranked.first().locator);
    if (fromBest >= 0.0)
        judgement.evidence
            += QStringLiteral("; %1 km from %2").arg(QString::number(qRound(fromBest)), ranked.first().locator);

    // A locator passed on wrong by one character is a bust whoever sent it;
    // a portable or mobile station may be anywhere else.
    if (oneStep) {
        judgement.verdict = Verdict::SuspectLocator;
        judgement.evidence += QStringLiteral("; one character or one subsquare from a known locator");
    } else if (IsPortableCall(qso.call)) {
        judgement.verdict = Verdict::NewLocator;
        judgement.evidence += QStringLiteral("; portable or mobile");
    } else if (nearest >= 0.0 && nearest <= CheckRules::plausibleKm) {
        judgement.verdict = Verdict::NewLocator;
    } else {
        judgement.verdict = Verdict::SuspectLocator;
    }
    return judgement;
}

QsoJudgement LogChecker::judgeUnknownCall(const CheckedQso &qso, const QString &ownCall) const
{
    // The logging station, however suffixed, is no candidate: it did not work itself.
    const QString ownBase = ownCall.section(QLatin1Char('/'), 0, 0);
    struct Candidate
    {
        QString call;
        LocatorEntry locator;
        double distance;
    };
    QVector<Candidate> close, far;
    for (const QString &near : NearCalls(qso.call)) {
        const int index = m_database.indexOf(near);
        if (index < 0 || (!ownBase.isEmpty() && near.section(QLatin1Char('/'), 0, 0) == ownBase))
            continue;
        // The candidate's known locator nearest to the logged one.
        const QVector<LocatorEntry> strong = StrongLocators(RankedLocators(m_database.at(index)));
        Candidate best { near, strong.first(), -1.0 };
        for (const LocatorEntry &locator : strong) {
            const double distance = DistanceTo(qso.locator, locator.locator);
            if (distance >= 0.0 && (best.distance < 0.0 || distance < best.distance))
                best = Candidate { near, locator, distance };
        }
        if (best.distance >= 0.0 && best.distance <= CheckRules::plausibleKm)
            close.append(best);
        else
            far.append(best);
    }
    const auto heavierFirst = [](const Candidate &a, const Candidate &b) {
        return a.locator.weight != b.locator.weight ? a.locator.weight > b.locator.weight : a.call < b.call;
    };
    std::sort(close.begin(), close.end(), heavierFirst);
    std::sort(far.begin(), far.end(), heavierFirst);

    QsoJudgement judgement;
    if (!close.isEmpty()) {
        judgement.verdict = Verdict::SuspectCall;
        QStringList maybe;
        for (const Candidate &candidate : close)
            maybe << QStringLiteral("%1, %2").arg(candidate.call, QString::number(candidate.locator.weight));
        judgement.evidence = QStringLiteral("maybe ") + maybe.join(QStringLiteral("; maybe "));
        return judgement;
    }
    judgement.verdict = Verdict::NewCall;
    judgement.evidence = QStringLiteral("not known");
    for (const Candidate &candidate : far) {
        judgement.evidence += QStringLiteral("; %1 is known from %2").arg(candidate.call, candidate.locator.locator);
        if (candidate.distance >= 0.0)
            judgement.evidence += QStringLiteral(", %1 km away").arg(qRound(candidate.distance));
    }
    return judgement;
}
