#pragma once
// The small rules of the background options that need no window: the money a
// d100 roll buys, the percentile band walk shared by special items, talents
// and flaws, the talents choice code and the training time of a package.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace background {

// Gold pieces bought with one background option point for a d100 roll (1..100).
// Rolls outside 1..100 give 0.
qint32 MoneyForRoll(int roll);

// The band of a percentile table that holds `roll`. `bands` are the tables'
// Roll texts in stored order: the first two characters are the band's lowest
// roll and the text of the last band begins with "100". Returns the index of
// the band, or -1 when the table cannot place the roll (empty table, a roll
// below the first band, no "100" band to end the walk).
int BandIndex(const QStringList &bands, int roll);

// Whether a table of bands can place every roll from 1 to 100.
bool BandsComplete(const QStringList &bands);

// The talents choice code: the degree digit followed by the column digit.
struct TalentsCode {
    int degree = 0;   // Type_ID of the talent
    int column = 0;   // 1..6
    bool rolled() const { return column >= 1 && column <= 3; }
    bool hasFlaw() const { return column == 1 || column == 3 || column == 4 || column == 6; }
    // Type_ID of the flaw (meaningful when hasFlaw()).
    int flawType() const { return (column == 1 || column == 4) ? degree - 1 : degree; }
    bool valid() const { return degree >= 1 && degree <= 9 && column >= 1 && column <= 6; }
};
TalentsCode ParseTalentsCode(const QString &code);
QString MakeTalentsCode(int degree, int column);

// Training time in months for a package of `months` and a Self Discipline
// total bonus: each point of bonus takes 3 % off, rounded to the nearest whole
// month, halves to the even one. Raises overflow (6) when 3 x bonus or the
// result leaves the 16-bit range.
qint16 TrainingMonths(qint16 months, qint16 sdBonus);

// The history text with one more line: `line` after a line break, or `line`
// alone when the history is empty.
QString AppendHistoryLine(const QString &history, const QString &line);

} // namespace background
