#pragma once
// The ranges a character's figures may take: what a player can type on the
// sheet, what a character file may hold, and what the level, the sheet and the
// printed page compute without overflowing. One place, so that whatever can be
// typed can also be saved, opened, shown and printed.
#include <QtGlobal>

#include <limits>

namespace character::limits {

template <typename T>
struct Range {
    T low;
    T high;
    constexpr bool contains(T v) const { return v >= low && v <= high; }
};

// Special bonuses of statistics, resistances and skills, and appearance: the
// record's 16-bit fields.
inline constexpr Range<qint32> kSmall{std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};

// Money: the record's 32-bit field.
inline constexpr Range<qint64> kMoney{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};

// Experience: the level (16-bit) is computable from -327,689,999 to
// 1,637,899,999. The bounds are round figures inside that, and the top one
// starts a level, so raising the level from below it stops on it.
inline constexpr Range<qint32> kExperience{-300000000, 1600000000};

// Age, height and weight: the printed page derives paces and loads from height
// and weight in 32-bit whole numbers; six digits keep every figure of it well
// inside, and a single shows them to the unit.
inline constexpr Range<double> kPhysique{-999999.0, 999999.0};

// Identifiers in the rank tables (categories, skills, sub-skills, languages,
// weapons, spell lists): the record hands a category's or a skill's cells out
// as 16-bit numbers, the rules number their elements well inside that, and a
// new sub-skill takes a number its skill leaves free, which a table below the
// row cap always has inside this. 0 marks a free row, which a save leaves
// out, so no file holds it.
inline constexpr Range<qint32> kElementId{1, std::numeric_limits<qint16>::max()};

// Ranks: the rank bonus is worked out in 16 bits. Start-up refuses rules whose
// progressions are steeper than 8, 4 and 2 a rank up to 30, then 1 a rank,
// or whose bonus at no rank lies outside -30 to 5 (frame/DataFiles.cpp), so
// a progression gives at most ranks + 110 from its ranks; the bound keeps
// that, with the statistics' bonuses and the special bonuses of an ordinary
// character, inside 16 bits. Reaching it takes thousands of levels.
inline constexpr Range<qint32> kRank{0, 30000};

} // namespace character::limits
