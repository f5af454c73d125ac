#pragma once
// How the sheet turns typed text into the record's numbers and back. Typed
// figures (experience, special bonuses) are read leniently, the way the rules
// tables write numbers; physique follows the user's regional settings.
#include "platform/dao.h"

#include <QLocale>
#include <QString>
#include <QVariant>

namespace sheet {

// What a figure box's text reads as: a number its field can take, text that
// is no number (each box has its own rule for that), or a number past the
// field's range, which the record never takes.
struct Reading {
    enum State { Inside, NoNumber, Outside };
    State state = NoNumber;
    double value = 0;   // the number read, whole when the box takes whole numbers
    bool inside() const { return state == Inside; }
};

// The text read leniently, rounded half to even, against [low, high]. Every
// text reads as some number: junk and an empty box read 0.
Reading LenientWhole(const QString &text, double low, double high);

// The whole text read with the regional settings (rounded half to even when
// `whole`), against [low, high]; a figure too large for any number is past
// the range, text that is no number is none.
Reading RegionalNumber(const QString &text, double low, double high, bool whole);

// Age, height or weight: the whole text as a number whose decimal mark is
// the regional one or the other of the period and the comma, so that "1.80"
// and "1,80" both read 1.8 whatever the settings; digits are not grouped.
Reading PhysiqueNumber(const QString &text, double low, double high);

// A coin box: an optional sign and digits, blanks around them allowed. Empty
// text and a sign alone, on the way to a new count, count as 0; anything else
// that is not a whole number is none; a count of more digits than any amount
// has reads as past the range. Whether the count fits depends on the other
// places of the amount: the caller checks that.
Reading CoinCount(const QString &text);

// The worth of each coin box (0 to 4) in the smallest coin.
inline constexpr qint64 kCoinWorth[5] = {10000, 1000, 100, 10, 1};
// What coin box k shows of amount m: the part above 9999 for box 0, the digit
// of its place for the others (negative amounts give negative digits, which
// the box reads back to the same amount).
inline qint64 CoinPart(qint64 m, int k)
{
    return k == 0 ? m / kCoinWorth[0] : (m / kCoinWorth[k]) % 10;
}

// The regional settings without grouping, as fractional fields are shown.
QLocale Regional();
// Shortest form with at most seven significant digits.
QString RegionalText(float value);
// A rules value as the sheet shows it; an empty value is an error.
QString ValueText(const QVariant &value);
// A rules name in the data language, as the sheet shows it.
QString RulesName(const dao::Recordset &rs, const char *stem);

} // namespace sheet
