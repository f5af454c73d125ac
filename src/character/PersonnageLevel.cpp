// Level, experience and development points of the character record.
#include "character/Personnage.h"
#include "character/Guarded.h"
#include "character/Limits.h"
#include "platform/vb.h"

namespace {

// The experience at which each band of levels starts, its first level, and the
// experience a level costs inside the band.
struct LevelBand {
    qint64 start;
    qint64 firstLevel;
    qint64 step;
};
constexpr LevelBand kBands[] = {
    {0, 0, 10000},
    {50000, 5, 20000},
    {150000, 10, 30000},
    {300000, 15, 40000},
    {500000, 20, 50000},
};

// The band whose formula applies to x. A value on a band edge may be read with
// either neighbour's formula for the level (both agree), but moving to the next
// level must use the upper band, hence the two tests.
const LevelBand &BandFor(qint64 x, bool edgeGoesUp)
{
    const LevelBand *band = &kBands[0];
    for (const LevelBand &b : kBands) {
        if (b.start == 0)
            continue;
        if (edgeGoesUp ? x >= b.start : x > b.start)
            band = &b;
    }
    return *band;
}

} // namespace

qint16 Personnage::CalNiveau()
{
    qint16 level = 0;
    character::guarded("CalNiveau", [&] {
        const qint64 x = Experience;
        const LevelBand &band = BandFor(x, false);
        // C++ division truncates toward zero, so -1..-9999 stay at level 0.
        level = vb::Check16((x - band.start) / band.step + band.firstLevel);
    });
    return level;
}

void Personnage::ChangeNiveau()
{
    // Nobody above us could recover from an error here, so it is reported and
    // the experience is left as it was. Past the range a file may hold, the
    // character could be saved but never opened again: that is an overflow too.
    character::guarded("ChangeNiveau", [&] {
        const qint64 x = Experience;
        const LevelBand &band = BandFor(x, true);
        const qint32 next = vb::Check32(((x - band.start) / band.step + 1) * band.step + band.start);
        if (!character::limits::kExperience.contains(next))
            vb::Raise(vb::ErrOverflow);
        Experience = next;
    });
}

qint16 Personnage::DevelopmentPoint()
{
    qint16 points = 0;
    character::guarded("DevlopmentPoint", [&] {
        // The five statistics that feed development, AG to SD, summed as the
        // rules sum them: a running total beyond the 16-bit range is an overflow.
        qint16 sum = 0;
        for (int stat = 0; stat <= 4; ++stat)
            sum = vb::Add16(sum, Stats(0, stat));
        PdeD = static_cast<qint16>(sum / 5);
        points = PdeD;
    });
    return points;
}
