#pragma once
// The dice roller every rules step uses for chance: a plain roll of 1 to N, or
// an open-ended percentile roll that runs on past 100 or below 1.
#include <QVariant>
#include <QtGlobal>
#include <vector>

// N up to 100: one die of N faces, a whole number from 1 to N.
// N = 101: open-ended percentile roll (any whole number).
// N above 101: an empty variant.
// A run-time error inside is reported with location "JetDé"; the result then is
// what had been reached (empty if nothing).
QVariant JetDe(qint16 N);
inline QVariant JetDé(qint16 N) { return JetDe(N); }

namespace Dice {

// The generator's next value in [0, 1), single precision. Every roll draws
// from here, so a script set below drives every roll.
float Next();

// Restarts the generator from a fixed seed (reproducible runs and tests).
void setSeed(quint64 seed);

// Replaces the next values of Next() by these, in order; once they are used up
// the generator takes over again.
void setScript(const std::vector<float> &values);
// The same, given as the d100 rolls (1..100) that the values must produce.
void setRolls(const std::vector<int> &d100);
void clearScript();
// How many scripted values are still waiting.
int scriptRemaining();

} // namespace Dice
