// The main page of the character sheet: identity, statistics, resistances,
// hit and power points, protection, weapons, spell lists, movement,
// encumbrance and history.
#include "character/Players.h"
#include "print/ModPrint.h"
#include "print/SheetRules.h"

#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/Units.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QLocale>

namespace ModPrint {
namespace {

using print::sheet::RoundEven;

// Where the texts of a column must end: short of the rule or of the figures
// that stand to their right, so that a long name is cut rather than run over.
constexpr double kGap = 0.2;
constexpr double kLeftColumnEnd = 8.05 - kGap;   // identity, protection, movement
constexpr double kFrameEnd = 20.1 - kGap;        // the history, as wide as the page
constexpr double kWeaponNameEnd = 12.3;          // short of the weapon's type
constexpr double kShieldNameEnd = 6.3;           // short of the shield's missile bonus
constexpr double kMovementSkillEnd = 7.0;        // short of the skill's bonus
constexpr double kListNameEnd = 18.4;            // short of the list's level
// Twenty-one lists do not fit on whole rows above the rule at row 45.5: they
// close up just enough for the last to stay above it.
constexpr double kCloseListPitch = 0.98;
// What stands side by side on a row keeps at least a blank of 10-point Arial
// between: a figure and the one before it, a name and the figure after it.
constexpr double kFigureGap = 0.1;

// The text at x on the row, cut to end at `end`.
void FitAt(double x, double row, const QString &text, double end)
{
    TextFrom(x, row, Fit(text, end - x));
}

// A figure from x, or ending at x, kept whole between x and `end`, or `left`
// and x: the few too wide for their place (the sheet takes any 16-bit bonus)
// come out in a smaller size rather than over their neighbour.
void FigureFrom(double x, double row, const QString &text, double end)
{
    SetCurrentY(RowY(row));
    SetCurrentX(x);
    PrintWhole(text, end - x);
}

void FigureEndingAt(double x, double row, const QString &text, double left)
{
    SetCurrentY(RowY(row));
    SetCurrentX(x);
    PrintRightWhole(text, x - left);
}

// Where the name before a figure ending at x must end: short of its own end,
// and short of the figure, which is never cut.
double Before(double x, const QString &figure, double end)
{
    return std::min(end, x - TextWidth(figure) - kFigureGap);
}

// A measure as the player typed it, with the interface's decimal mark.
QString Measure(float v)
{
    QString text = vb::NumText(v);
    if (Strings::current() == Strings::Language::French)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

void Heading(double x, double row, int id)
{
    SetBold(true);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(11);
    TextFrom(x, row, TableString(id));
    SetBold(false);
}

void Underlined(double x, double row, int id)
{
    SetFontSize(10);
    SetUnderline(true);
    TextFrom(x, row, TableString(id));
    SetUnderline(false);
}

// A yes/no box in 12 points, which keeps it inside its row: at 14 points the
// box is taller than a row, and the boxes of rows 26 and 27 and the shield's
// figures below them touch.
void Mark(double x, double row, bool ticked)
{
    SetFontName(QStringLiteral("Wingdings"));
    SetFontSize(12);
    TextEndingAt(x, row, ticked ? QStringLiteral("\u00FE") : QStringLiteral("o"));
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(10);
}

// A column head that ends where its column does, unless that brings it within
// two blanks of the head before it, which ends at `before`: the two would read
// as one word (as the pace and exhaustion heads did at some sizes of the
// preview). It then starts two blanks after that head.
void HeadAfter(double before, double end, double row, const QString &text)
{
    const double clear = before + 2 * TextWidth(QStringLiteral(" "));
    if (end - TextWidth(text) < clear)
        TextFrom(clear, row, text);
    else
        TextEndingAt(end, row, text);
}

// The text of a column of the current row, empty when the column is null.
QString Text(const dao::Recordset &rs, const QString &column)
{
    return rs.Value(column).toString();
}

qint32 Number(const dao::Recordset &rs, const QString &column)
{
    return vb::CLng(rs.Value(column));
}

struct Page {
    Personnage &p;
    dao::Recordset skills, weapons, lists;
    double lengthFactor = 3.28;
    // The armour worn, when the rules know it (what the movement block needs of it).
    bool armourFound = false;
    qint32 armourId = 0, maxManeuvre = 0, minManeuvre = 0;

    void Head();
    void Identity();
    void Statistics();
    void Resistances();
    void HitPoints();
    void PowerPoints();
    void Protection();
    void Weapons();
    void SpellLists();
    void Movement();
    void Encumbrance();
    void History();
};

void Page::Head()
{
    DrawPicture(LogoPicture(), 19.25, 1.46, 0.8, 0.8);
    SetDrawWidth(5, 3);
    DrawLine(2, 1.4, 20.1, 1.4);
    DrawLine(2, 1.4, 2, RowY(57));
    DrawLine(20.1, 1.4, 20.1, RowY(57));
    DrawLine(2, RowY(57), 20.1, RowY(57));
    DrawLine(2, 2.3, 20.1, 2.3);
    SetDrawWidth(2, 1);

    SetFontName(QStringLiteral("Arial"));
    SetFontSize(14);
    SetBold(true);
    SetCurrentY(1.6);
    SetCurrentX(11.1);
    PrintCentered(TableString(5052));
    SetBold(false);
    SetFontSize(10);

    DrawLine(8.05, RowY(13.5), 20.1, RowY(13.5));
    DrawLine(2, RowY(18.5), 8.05, RowY(18.5));
    DrawLine(8.05, RowY(22.5), 20.1, RowY(22.5));
    DrawLine(8.05, 2.32, 8.05, RowY(32.5));
    DrawLine(2, RowY(32.5), 14.06, RowY(32.5));
    DrawLine(14.06, 2.32, 14.06, RowY(45.5));
    DrawLine(10.5, RowY(32.5), 10.5, RowY(45.5));
    DrawLine(2, RowY(45.5), 20.1, RowY(45.5));
}

void Page::Identity()
{
    Heading(2.32, 1, 5013);
    SetFontSize(10);
    const auto label = [](double row, int id) { TextFrom(2.32, row, TableString(id) + QStringLiteral(" :")); };
    const auto value = [](double row, const QString &text) { FitAt(4.54, row, text, kLeftColumnEnd); };
    const auto figure = [](double row, const QString &text) { FigureFrom(4.54, row, text, kLeftColumnEnd); };

    label(3, 3050);
    SetBold(true);
    value(3, p.Nom);
    SetBold(false);

    const auto lookup = [&](double row, int id, const QString &table, const QString &key, qint32 keyValue,
                            const QString &base) {
        label(row, id);
        dao::Recordset rs = rules::Open(table);
        if (rules::Find(rs, key, keyValue))
            value(row, Text(rs, rules::LangCol(base)));
        rs.Close();
    };
    lookup(4, 3002, QStringLiteral("Race Abilities"), QStringLiteral("Race_ID"), p.Race_ID, QStringLiteral("Race"));
    lookup(5, 3004, QStringLiteral("Profession"), QStringLiteral("Profession_ID"), p.Profession_ID,
           QStringLiteral("Profession"));
    lookup(6, 2008, QStringLiteral("Realms of Power"), QStringLiteral("Realm_ID"), p.Royaume_ID,
           QStringLiteral("Realm"));

    label(8, 3052);
    figure(8, NumberText(p.CalNiveau()));
    label(9, 3053);
    figure(9, NumberText(p.Experience));
    label(11, 3084);
    value(11, TableString(p.Sexe ? 3017 : 3016));
    label(12, 3051);
    figure(12, Measure(p.Age));
    label(13, 3027);
    figure(13, NumberText(p.Apparence));
    label(14, 3085);
    value(14, p.Cheveux);
    label(15, 3086);
    value(15, p.Yeux);
    label(16, 3087);
    figure(16, Measure(p.Grandeur) + units::HeightMark());
    label(17, 3088);
    figure(17, Measure(p.Poids) + units::WeightMark());
}

void Page::Statistics()
{
    Heading(8.35, 1, 3040);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(8);
    TextCenteredOn(12.48, 1, TableString(3045));
    TextCenteredOn(13.43, 1, TableString(3048));
    SetFontSize(10);

    dao::Recordset rs = rules::Open(QStringLiteral("Stat"));
    rs.MoveFirst();
    const QString column = rules::LangCol(QStringLiteral("Stat"));
    for (int i = 1; i <= 10; ++i) {
        // The rules' name gives way to the temporary value, never the reverse.
        const QString temporary = NumberText(p.DirStats(0, qint16(i - 1)));
        FitAt(8.35, 2 + i, Text(rs, column), 12.79 - TextWidth(temporary) - kFigureGap);
        rs.MoveNext();
        FigureEndingAt(12.79, 2 + i, temporary, 8.35);
        FigureEndingAt(13.75, 2 + i, NumberText(p.TotalStatBonus(qint16(i - 1))), 12.79 + kFigureGap);
    }
    rs.Close();
}

void Page::Resistances()
{
    Heading(14.38, 1, 3023);
    SetFontSize(8);
    TextCenteredOn(19.46, 1, TableString(3048));
    SetFontSize(10);
    static const struct {
        int row, label, kind;
    } rows[] = {{3, 2001, 2}, {4, 2002, 5}, {5, 2003, 7}, {6, 2005, 3}, {7, 2006, 4},
                {8, 2007, 6}, {9, 2004, 1}, {11, 3058, 8}, {12, 3061, 9}};
    for (const auto &r : rows) {
        const double end = TextFrom(14.38, r.row, TableString(r.label));
        FigureEndingAt(19.78, r.row, NumberText(p.TotalResistanceBonus(qint16(r.kind))), end + kFigureGap);
    }
}

void Page::HitPoints()
{
    Heading(8.35, 14, 3054);
    SetFontSize(8);
    TextEndingAt(10.25, 15, QStringLiteral("-10"));
    TextEndingAt(11.21, 15, QStringLiteral("-20"));
    TextEndingAt(12.16, 15, QStringLiteral("-30"));
    TextEndingAt(13.43, 15, TableString(3093));
    SetFontSize(10);
    const auto h = print::sheet::PointColumns(p.TotalSkillBonus(23, 0, 2));
    FigureEndingAt(9.3, 16, NumberText(h[0]), 8.35);
    FigureEndingAt(10.25, 16, NumberText(h[1]), 9.3 + kFigureGap);
    FigureEndingAt(11.21, 16, NumberText(h[2]), 10.25 + kFigureGap);
    FigureEndingAt(12.16, 16, NumberText(h[3]), 11.21 + kFigureGap);
    FigureEndingAt(13.43, 16, NumberText(p.DirStats(0, 1)), 12.16 + kFigureGap);

    Underlined(8.35, 18, 3094);
    const int co = p.TotalStatBonus(1);
    TextFrom(8.35, 19, TableString(3095));
    TextEndingAt(13.75, 19, QStringLiteral("1/3 ") + TableString(3098));
    const auto rate = [](double row, int label, const QString &text) {
        const double labelEnd = TextFrom(8.35, row, TableString(label));
        FigureEndingAt(13.75, row, text, labelEnd + kFigureGap);
    };
    rate(20, 3096, NumberText(RoundEven(co / 2.0)) + QStringLiteral(" ") + TableString(3098));
    rate(21, 3097, NumberText(co) + QStringLiteral(" ") + TableString(3099));
}

void Page::PowerPoints()
{
    Heading(14.38, 14, 2020);
    SetFontSize(8);
    TextEndingAt(16.29, 15, QStringLiteral("-10"));
    TextEndingAt(17.24, 15, QStringLiteral("-20"));
    TextEndingAt(18.19, 15, QStringLiteral("-30"));
    TextEndingAt(19.46, 15, TableString(3093));
    SetFontSize(10);
    const int total = p.TotalSkillBonus(270, 0, 2);
    const auto pp = print::sheet::PointColumns(total);
    FigureEndingAt(15.33, 16, NumberText(pp[0]), 14.38);
    FigureEndingAt(16.29, 16, NumberText(pp[1]), 15.33 + kFigureGap);
    FigureEndingAt(17.24, 16, NumberText(pp[2]), 16.29 + kFigureGap);
    FigureEndingAt(18.19, 16, NumberText(pp[3]), 17.24 + kFigureGap);

    Underlined(14.38, 18, 3026);
    TextFrom(14.38, 19, TableString(3095));
    TextEndingAt(19.78, 19, QStringLiteral("1/3 ") + TableString(3104));

    int rest = 0;
    dao::Recordset realms = rules::Open(QStringLiteral("Realms of Power"));
    if (rules::Find(realms, QStringLiteral("Realm_ID"), p.Royaume_ID)) {
        // A statistic number of 0 in the realm's row stands for no statistic.
        const auto bonus = [&](const QString &column) {
            const qint32 n = Number(realms, column);
            return n >= 1 && n <= 10 ? int(p.TotalStatBonus(qint16(n - 1))) : 0;
        };
        rest = print::sheet::RealmRest(Number(realms, QStringLiteral("Realm_ID")),
                                       bonus(QStringLiteral("Stat_ID1")), bonus(QStringLiteral("Stat_ID2")),
                                       Number(realms, QStringLiteral("Realm_ID")) == 1
                                           ? bonus(QStringLiteral("Stat_ID3"))
                                           : 0);
    }
    realms.Close();
    const auto rate = [](double row, int label, const QString &text) {
        const double labelEnd = TextFrom(14.38, row, TableString(label));
        FigureEndingAt(19.78, row, text, labelEnd + kFigureGap);
    };
    rate(20, 3096, NumberText(rest) + QStringLiteral(" ") + TableString(3104));
    rate(21, 3097, NumberText(RoundEven(total / 2.0)) + QStringLiteral(" ") + TableString(3105));
}

void Page::Protection()
{
    Heading(2.32, 19, 3512);
    SetFontSize(10);

    // An armour number the rules do not know (0 until one is chosen) prints
    // no name and no values, rather than those of some other armour.
    dao::Recordset armour = rules::Open(QStringLiteral("Armor Modification"));
    armourFound = rules::Find(armour, QStringLiteral("Armor_ID"), p.Armure);
    QString name;
    qint32 missile = 0, quickness = 0;
    bool legs = false;
    if (armourFound) {
        name = Text(armour, rules::LangCol(QStringLiteral("Armor")));
        missile = Number(armour, QStringLiteral("MissileAttak"));
        quickness = Number(armour, QStringLiteral("Quickness"));
        legs = Number(armour, QStringLiteral("Protection")) != 0;
        armourId = Number(armour, QStringLiteral("Armor_ID"));
        maxManeuvre = Number(armour, QStringLiteral("MaxManeuvre"));
        minManeuvre = Number(armour, QStringLiteral("MinManeuvre"));
    }
    armour.Close();

    // A long armour name is cut, its number kept.
    const QString number = QStringLiteral(" (") + TableString(3100) + QStringLiteral(" ") + NumberText(p.Armure) + QStringLiteral(")");
    TextFrom(2.32, 21, Fit(name, kLeftColumnEnd - 2.32 - TextWidth(number)) + number);
    TextFrom(2.63, 22, TableString(3082) + QStringLiteral(" :"));
    if (armourFound)
        Mark(7.71, 22, legs);
    const double missileLabel = TextFrom(2.63, 23, TableString(5016));
    FigureEndingAt(7.08, 23, NumberText(-qint64(missile)), missileLabel + kFigureGap);
    const double quicknessLabel = TextFrom(2.63, 24, TableString(5017));
    FigureEndingAt(7.71, 24, NumberText(quickness), quicknessLabel + kFigureGap);

    TextFrom(2.32, 26, TableString(5018));
    TextFrom(2.32, 27, TableString(5019));
    Mark(7.71, 26, (p.Casque / 10) % 10 == 1);
    Mark(7.71, 27, p.Casque % 10 == 1);

    dao::Recordset shield = rules::Open(QStringLiteral("Shield"));
    if (rules::Find(shield, QStringLiteral("Shield_ID"), p.Bouclier)) {
        const QString missileBonus = Text(shield, QStringLiteral("Missile"));
        FitAt(2.32, 28, Text(shield, rules::LangCol(QStringLiteral("Shield"))),
              Before(7.08, missileBonus, kShieldNameEnd));
        FigureEndingAt(7.08, 28, missileBonus, 2.32);
        FigureEndingAt(7.71, 28, Text(shield, QStringLiteral("Melee")), 7.08 + kFigureGap);
    }
    shield.Close();

    TextFrom(2.32, 29, TableString(2025));
    const double adrenal = TextFrom(2.32, 30, TableString(5053));
    FigureEndingAt(7.71, 30, NumberText(p.TotalSkillBonus(159, 0, 2)), adrenal + kFigureGap);
    const double quick = TextFrom(2.32, 31, TableString(5054));
    FigureEndingAt(7.71, 31, NumberText(3 * p.TotalStatBonus(8)), quick + kFigureGap);
}

void Page::Weapons()
{
    Heading(8.35, 23, 3083);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(8);
    TextCenteredOn(12.48, 23, TableString(3101));
    TextCenteredOn(13.43, 23, TableString(3048));
    SetFontSize(10);

    const QString nameColumn = rules::LangCol(QStringLiteral("Weapon"));
    int next = 25;
    for (qint32 i = 1; i <= p.NbWeaponSkills && i <= 7; ++i) {
        if (!rules::Find(weapons, QStringLiteral("Weapon_ID"), p.DirWeaponSkills(4, i)))
            continue;
        if (!rules::Find(skills, QStringLiteral("Skill_ID"), p.DirWeaponSkills(0, i)))
            continue;
        const qint32 skill = Number(skills, QStringLiteral("Skill_ID"));
        const qint32 weapon = Number(weapons, QStringLiteral("Weapon_ID"));
        SetFontSize(8);
        const QString type = skill >= 226 && skill <= 232 ? TableString(3581 + (skill - 226)) : QString();
        const double nameEnd = Before(12.79, type, kWeaponNameEnd);
        SetFontSize(10);
        FitAt(8.35, next, Text(weapons, nameColumn), nameEnd);
        SetFontSize(8);
        SetCurrentY(RowY(next) + 0.05);
        SetCurrentX(12.79);
        PrintRight(type);
        SetFontSize(10);
        FigureEndingAt(13.75, next, NumberText(p.TotalSkillBonus(skill, weapon, 5)), 12.79 + kFigureGap);
        ++next;
    }
}

void Page::SpellLists()
{
    Heading(14.38, 23, 2023);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(8);
    TextCenteredOn(18.7, 23, TableString(3090));
    TextCenteredOn(19.46, 23, TableString(3048));
    SetFontSize(10);

    const QString nameColumn = rules::LangCol(QStringLiteral("List"));
    struct Line {
        QString name, rank;
        qint16 bonus;
    };
    QVector<Line> printed;
    for (qint32 i = 1; i <= p.NbSpellSkills && i <= 21; ++i) {
        if (!rules::Find(lists, QStringLiteral("List_ID"), p.DirSpellSkills(4, i)))
            continue;
        if (!rules::Find(skills, QStringLiteral("Skill_ID"), p.DirSpellSkills(0, i)))
            continue;
        const qint32 skill = Number(skills, QStringLiteral("Skill_ID"));
        const qint32 list = Number(lists, QStringLiteral("List_ID"));
        printed.push_back({Text(lists, nameColumn), p.DirSpellSkills(1, i), p.TotalSkillBonus(skill, list, 6)});
    }
    const double pitch = printed.size() > 20 ? kCloseListPitch : 1.0;
    for (int k = 0; k < printed.size(); ++k) {
        const double row = 25 + k * pitch;
        SetFontSize(10);
        const double nameEnd = Before(19, printed[k].rank, kListNameEnd);
        SetFontSize(8);
        FitAt(14.38, row, print::sheet::ListName(printed[k].name), nameEnd);
        SetFontSize(10);
        FigureEndingAt(19, row, printed[k].rank, 14.38);
        FigureEndingAt(19.78, row, NumberText(printed[k].bonus), 19 + kFigureGap);
    }
}

void Page::Movement()
{
    Heading(2.32, 33, 3089);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(8);
    TextEndingAt(6.44, 33, TableString(3555));
    HeadAfter(6.44, 8.03, 33, TableString(3579));
    TextEndingAt(10.25, 33, TableString(3556));
    SetFontSize(10);

    std::optional<int> m;
    if (armourFound)
        m = print::sheet::ManeuverPenalty(armourId, maxManeuvre, minManeuvre,
                                          [&](int skill) { return int(p.TotalSkillBonus(skill, 0, 2)); });
    const int stride = print::sheet::Stride(p.Grandeur, lengthFactor);
    const int q = print::sheet::MovementPenalty(m, p.TotalStatBonus(9));
    const int base = print::sheet::BaseRate(stride, p.TotalStatBonus(8), q, lengthFactor);
    const auto rates = print::sheet::PaceRates(base);
    for (int k = 0; k < 6; ++k) {
        const int row = 35 + k;
        FigureEndingAt(3.59, row, NumberText(rates[size_t(k)]) + QStringLiteral(" ") + units::HeightMark(), 2.32);
        TextEndingAt(6.44, row, TableString(3557 + k));
        TextEndingAt(8.03, row, TableString(3563 + k));
    }
    const auto difficulty = print::sheet::PaceDifficulty(q);
    for (int k = 0; k < 6; ++k) {
        const int id = difficulty[size_t(k)];
        const QString mark = k < 3 ? QStringLiteral(" \u2020") : QStringLiteral(" \u2021");
        TextEndingAt(10.25, 35 + k, id ? TableString(id) + mark : QStringLiteral("-----"));
    }
    FigureEndingAt(10.25, 41, QStringLiteral("(") + NumberText(q) + QStringLiteral(")"), 8.03 + kFigureGap);

    const QString nameColumn = rules::LangCol(QStringLiteral("Skill"));
    const auto skill = [&](double row, const QString &mark, const QString &bonus) {
        FitAt(2.32, row, mark + Text(skills, nameColumn), Before(7.71, bonus, kMovementSkillEnd));
        FigureEndingAt(7.71, row, bonus, 2.32);
    };
    if (rules::Find(skills, QStringLiteral("Skill_ID"), 256))
        skill(42, QStringLiteral("\u2020 "),
              NumberText(std::max<int>(p.TotalSkillBonus(256, 0, 2), 3 * p.TotalStatBonus(0))));
    if (rules::Find(skills, QStringLiteral("Skill_ID"), 259))
        skill(43, QStringLiteral("\u2021 "), NumberText(p.TotalSkillBonus(259, 0, 2)));
    const double labelEnd = TextFrom(2.32, 44, TableString(5015));
    if (m)
        FigureEndingAt(7.71, 44, NumberText(*m), labelEnd + kFigureGap);

    // The allowance of the encumbrance block.
    const int allowance = m.value_or(0) + 3 * p.TotalStatBonus(9);
    Heading(10.89, 33, 3580);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(10);
    const int w = print::sheet::StepWeight(p.Poids);
    int row = 35;
    for (const auto &[step, penalty] : print::sheet::LoadSteps(allowance)) {
        FigureEndingAt(12.48, row, NumberText(qint64(step) * w) + QStringLiteral(" ") + units::WeightMark(), 10.89);
        FigureEndingAt(13.75, row, NumberText(penalty), 12.48 + kFigureGap);
        ++row;
    }
}

void Page::History()
{
    Heading(2.32, 46, 3062);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(10);
    const QString text = p.Historique.toString();
    // A line of Arial 10 is as tall as a row: on row 56 its descenders would
    // reach the frame drawn at row 57. The lines stand a quarter row higher,
    // which the empty row under the heading takes up.
    double row = 47.75;
    for (const QString &line : print::sheet::HistoryLines(text))
        FitAt(2.32, row++, line, kFrameEnd);
}

} // namespace

void Page_Principal(const QString &player)
{
    try {
        Personnage &p = ModGeneral::Players(vb::CLng(player));
        Page page{p, {}, {}, {}};
        page.skills = rules::Open(QStringLiteral("Skills"));
        page.weapons = rules::Open(QStringLiteral("Weapons"));
        page.lists = rules::Open(QStringLiteral("List"));
        page.lengthFactor = ModGeneral::DataLanguage == rules::kEnglish ? 1.0 : 3.28;

        page.Head();
        page.Identity();
        page.Statistics();
        page.Resistances();
        page.HitPoints();
        page.PowerPoints();
        page.Protection();
        page.Weapons();
        page.SpellLists();
        page.Movement();
        page.History();
        PrintFooter();
    } catch (...) {
        ReportCurrentException(QStringLiteral("Page_Principal"));
    }
}

} // namespace ModPrint
