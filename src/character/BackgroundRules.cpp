#include "character/BackgroundRules.h"

#include "character/Personnage.h"

#include "platform/vb.h"

#include <cstdlib>

namespace background {

qint32 MoneyForRoll(int r)
{
    if (r < 1 || r > 100)
        return 0;
    if (r <= 2)
        return 1;
    if (r <= 5)
        return 2;
    // The bands of 10 (then 5) rolls are rounded up to the next step; integer
    // arithmetic keeps the band edges exact.
    if (r <= 65)
        return ((r - 5 + 9) / 10) * 5;
    if (r <= 90)
        return ((r - 65 + 4) / 5) * 10 + 30;
    if (r <= 94)
        return 100;
    if (r <= 97)
        return 125;
    if (r <= 99)
        return 150;
    return 200;
}

namespace {
int lowBound(const QString &roll) { return static_cast<int>(vb::Val(roll.left(2))); }
bool endBand(const QString &roll) { return static_cast<int>(vb::Val(roll.left(3))) == 100; }
} // namespace

int BandIndex(const QStringList &bands, int roll)
{
    if (bands.isEmpty() || roll < 1 || roll > 100)
        return -1;
    if (roll == 100)
        return bands.size() - 1;
    for (int i = 0; i < bands.size(); ++i) {
        if (lowBound(bands[i]) > roll || endBand(bands[i]))
            return i == 0 ? -1 : i - 1;
    }
    return -1;   // no band ends the table
}

bool BandsComplete(const QStringList &bands)
{
    if (bands.isEmpty() || !endBand(bands.last()))
        return false;
    for (int r = 1; r <= 100; ++r)
        if (BandIndex(bands, r) < 0)
            return false;
    return true;
}

TalentsCode ParseTalentsCode(const QString &code)
{
    TalentsCode c;
    const QString t = code.trimmed();
    if (t.size() < 2 || !t.front().isDigit() || !t.back().isDigit())
        return c;
    c.degree = t.front().digitValue();
    c.column = t.back().digitValue();
    return c;
}

QString MakeTalentsCode(int degree, int column)
{
    return QString::number(degree) + QString::number(column);
}

qint16 TrainingMonths(qint16 months, qint16 sdBonus)
{
    const qint16 three = vb::Mul16(3, sdBonus);
    // months x (100 - 3B) / 100 in whole numbers, so that exact halves round
    // to even as they should rather than as a binary fraction happens to fall.
    const qint64 num = static_cast<qint64>(months) * (100 - three);
    qint64 q = num / 100;
    qint64 rem = num % 100;
    if (rem < 0) {
        rem += 100;
        q -= 1;
    }
    if (rem > 50 || (rem == 50 && (q % 2 != 0)))
        q += 1;
    return vb::Check16(q);
}

QString AppendHistoryLine(const QString &history, const QString &line)
{
    // A note typed or read with bare line feeds still keeps the history's breaks.
    const QString added = Personnage::HistoryLineBreaks(line);
    if (history.isEmpty())
        return added;
    return history + QStringLiteral("\r\n") + added;
}

} // namespace background
