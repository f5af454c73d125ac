#include "print/SheetRules.h"

#include "frame/Rules.h"
#include "platform/vb.h"

#include <cmath>

namespace print::sheet {

int RoundEven(double v)
{
    // A value no whole number holds (a height or weight typed beyond reason)
    // overflows as every conversion of the program does, rather than wrapping.
    return vb::CLng(v);
}

std::array<int, 4> PointColumns(int total)
{
    return {total, RoundEven(total * 0.75), RoundEven(total * 0.5), RoundEven(total * 0.25)};
}

int RealmRest(int realmId, int bonus1, int bonus2, int bonus3)
{
    if (realmId == 1)
        return RoundEven((bonus1 + bonus2 + bonus3) / 3.0);
    return RoundEven((bonus1 + bonus2) / 2.0);
}

std::optional<int> ManeuverPenalty(int armorId, int maxManeuvre, int minManeuvre,
                                   const std::function<int(int)> &skillBonus)
{
    std::optional<int> m;
    if (armorId >= 1 && armorId <= 4)
        m = 0;
    else if (const int skill = rules::ManeuverSkill(armorId))
        m = maxManeuvre + skillBonus(skill);
    if (m.value_or(0) > minManeuvre)
        m = minManeuvre;
    return m;
}

int Stride(float height, double lengthFactor)
{
    return vb::Mul32(5, RoundEven((double(height) * lengthFactor - 6) / 0.5));
}

int MovementPenalty(std::optional<int> maneuver, int strengthBonus)
{
    const qint64 q = qint64(maneuver.value_or(0)) + 3 * qint64(strengthBonus);
    return q < 0 ? vb::Check32(q) : 0;
}

int BaseRate(int stride, int quicknessBonus, int movementPenalty, double lengthFactor)
{
    return RoundEven((50.0 + stride + 3.0 * quicknessBonus + movementPenalty) / lengthFactor);
}

std::array<int, 6> PaceRates(int base)
{
    return {base, RoundEven(base * 1.5), vb::Mul32(base, 2), vb::Mul32(base, 3), vb::Mul32(base, 4),
            vb::Mul32(base, 5)};
}

std::array<int, 6> PaceDifficulty(int q)
{
    constexpr int None = 3569, Routine = 3570, Easy = 3571, Light = 3572, Medium = 3573, Out = 0;
    if (q >= 0)
        return {None, None, None, Routine, Easy, Light};
    if (q >= -10)
        return {None, None, None, Easy, Light, Medium};
    if (q >= -25)
        return {None, None, Easy, Light, Light, Out};
    if (q >= -40)
        return {None, Easy, Light, Medium, Out, Out};
    if (q >= -65)
        return {Easy, Light, Medium, Out, Out, Out};
    if (q >= -100)
        return {Light, Medium, Out, Out, Out, Out};
    return {Medium, Out, Out, Out, Out, Out};
}

int StepWeight(float weight)
{
    return RoundEven(weight * 0.1);
}

QVector<QPair<int, int>> LoadSteps(int allowance)
{
    QVector<QPair<int, int>> steps;
    for (int i = 1; steps.size() < 10; ++i) {
        if (allowance > 0) {
            if (allowance - 8 * i < 0)
                steps.push_back({i, allowance - 8 * i});
        } else {
            steps.push_back({i, -8 * i});
        }
    }
    return steps;
}

QStringList HistoryLines(const QString &history)
{
    // Lines end with a carriage return and line feed pair, as the character
    // file has always kept them; a file written elsewhere may end them with a
    // line feed alone, and that ends a line too.
    QString text = history;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines;
    if (text.isEmpty())
        return lines;
    const QStringList parts = text.split(QLatin1Char('\n'));
    for (const QString &part : parts) {
        if (lines.size() == 9)
            break;
        lines.push_back(part.left(63));
    }
    return lines;
}

QString ListName(const QString &name)
{
    if (name.size() > 23)
        return name.left(22) + QStringLiteral("...");
    return name;
}

} // namespace print::sheet
