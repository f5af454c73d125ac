#pragma once
// The unit system of heights, weights and paces follows the rules data, never
// the interface language: the English data columns (DataLanguage 1000) hold
// feet and pounds, the French ones metres and kilograms. Every window and the
// printed sheet take their unit words from here, so that one number reads in
// one unit everywhere.
#include <QString>

namespace units {

// True when the rules data in use work in metres and kilograms.
bool Metric();

// The words beside a height and a weight box: "mètres" / "kg", or their
// English and feet-and-pounds counterparts.
QString HeightWord();
QString WeightWord();
// The short marks printed right after a height or a pace, and after a weight:
// "m" / "kg", or "'" / "lbs".
QString HeightMark();
QString WeightMark();

} // namespace units
