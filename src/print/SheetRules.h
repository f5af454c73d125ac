#pragma once
// The arithmetic of the printed sheet, apart from the drawing: rounding,
// movement, encumbrance, recovery, and how texts are cut to fit their place.
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <optional>

namespace print::sheet {

// To the nearest whole number, a half going to the even neighbour.
int RoundEven(double v);

// H, then H x 0.75, 0.5 and 0.25 rounded: the columns of hit or power points.
std::array<int, 4> PointColumns(int total);

// Power-point recovery at rest: the average of the realm's statistic bonuses
// (three for realm 1, two for any other realm), rounded.
int RealmRest(int realmId, int bonus1, int bonus2, int bonus3);

// The armour's maneuver penalty: none for light armour (1 to 4), else the
// armour's worst penalty lessened by the maneuvering skill of its kind, and
// never better than the armour's best. No value for an armour number outside
// the four kinds (it counts as 0 where it is used).
std::optional<int> ManeuverPenalty(int armorId, int maxManeuvre, int minManeuvre,
                                   const std::function<int(int skill)> &skillBonus);

// Stride: 5 for each half foot of height above 6 feet (negative below).
int Stride(float height, double lengthFactor);
// Movement penalty: the armour's maneuver penalty plus three times the
// strength bonus, when that is below 0; otherwise 0.
int MovementPenalty(std::optional<int> maneuver, int strengthBonus);
// Base movement rate, in the sheet's length unit.
int BaseRate(int stride, int quicknessBonus, int movementPenalty, double lengthFactor);
// The six rates (walk to dash) from the base rate.
std::array<int, 6> PaceRates(int base);
// Difficulty of each pace (walk to dash) by the movement penalty, as text
// numbers; 0 where the pace is out of reach.
std::array<int, 6> PaceDifficulty(int movementPenalty);

// Weight of one load step: a tenth of the character's weight, rounded.
int StepWeight(float weight);
// The printed load lines: (step, penalty), at most ten. With an allowance
// above 0 the steps it covers are left out.
QVector<QPair<int, int>> LoadSteps(int allowance);

// The lines of the history as the sheet prints them: at most nine, each cut
// to 63 characters.
QStringList HistoryLines(const QString &history);

// A spell list's name cut to its column: past 23 characters, the first 22 and "...".
QString ListName(const QString &name);

} // namespace print::sheet
