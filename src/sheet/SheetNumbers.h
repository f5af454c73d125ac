#pragma once
// How the sheet turns typed text into the record's numbers and back. Typed
// figures (experience, special bonuses) are read leniently, the way the rules
// tables write numbers; physique follows the user's regional settings.
#include "platform/dao.h"

#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

namespace sheet {

// The leniently read whole number of text (half to even), or nothing when it
// does not fit the range: the record then keeps the value it had.
std::optional<qint32> LenientLong(const QString &text);
std::optional<qint16> LenientInt(const QString &text);

// A coin box: an optional sign and digits, blanks around them allowed. Empty
// text and anything that is not a whole number count as 0; nothing comes back
// when the digits are too many for any amount.
std::optional<qint64> CoinCount(const QString &text);

// The regional settings without grouping, as fractional fields are shown.
QLocale Regional();
// Shortest form with at most seven significant digits.
QString RegionalText(float value);
// The whole text read with the regional settings; nothing when it is no number.
std::optional<float> RegionalFloat(const QString &text);
// The whole text read with the regional settings and rounded half to even to
// a 16-bit whole number; nothing when it is no number or does not fit.
std::optional<qint16> RegionalInt(const QString &text);

// A rules value as the sheet shows it; an empty value is an error.
QString ValueText(const QVariant &value);
// A rules name in the data language, as the sheet shows it.
QString RulesName(const dao::Recordset &rs, const char *stem);

} // namespace sheet
