// How far a bonus the player types may go. Every total of the record is a
// 16-bit number, and so is what some window works out from them: the skill
// window's sum of a category's statistics, the sheet's maneuver figure of an
// armour, the training dialog's three times the self-discipline total and the
// months of its packages. (The printed page works in wider numbers.) A
// statistic's special bonus feeds its total, the totals of the categories
// that draw on the statistic and those of every skill in them; a category's
// special bonus feeds its total and its skills'; an item or special bonus
// feeds its skill's total; the maneuver skill's total feeds the armour's
// maneuver figure, for whichever armour the player puts on next as much as
// for the one worn. A bonus is taken when every one of those figures that
// fits as the record stands still fits with it: one that overflows already
// is not the bonus's doing, and a bonus that brings it back is welcome. The
// room is worked out from the record in wide arithmetic, so that finding it
// never overflows and never shows a box.
#include "character/Personnage.h"

#include "frame/Rules.h"
#include "platform/dao.h"
#include "platform/vb.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace lim = character::limits;

namespace {

using Wide = qint64;

constexpr Wide kLow = std::numeric_limits<qint16>::min();
constexpr Wide kHigh = std::numeric_limits<qint16>::max();

bool Fits16(Wide v)
{
    return v >= kLow && v <= kHigh;
}

Wide FloorDiv(Wide a, Wide b)   // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// A figure as a function of the typed bonus v over the 16-bit field: linear by
// pieces, each rising with v. A total that overflows counts as its fallback
// where other totals read it, so the pieces need not join: a bonus that brings
// such a total back into range can make what is built on it jump.
class Line {
public:
    static Line Constant(Wide c) { return Line(0, c); }
    static Line Typed(Wide offset) { return Line(1, offset); }

    Wide at(Wide v) const
    {
        for (const Piece &p : m_pieces)
            if (v <= p.hi)
                return p.at(v);
        return m_pieces.back().at(v);
    }

    Line operator+(const Line &o) const
    {
        Line sum;
        size_t i = 0, j = 0;
        Wide lo = kLow;
        while (i < m_pieces.size() && j < o.m_pieces.size()) {
            const Piece &a = m_pieces[i], &b = o.m_pieces[j];
            const Wide hi = std::min(a.hi, b.hi);
            sum.m_pieces.push_back({lo, hi, a.slope + b.slope, a.at0 + b.at0});
            lo = hi + 1;
            i += a.hi == hi;
            j += b.hi == hi;
        }
        return sum;
    }
    Line operator+(Wide c) const
    {
        Line sum = *this;
        for (Piece &p : sum.m_pieces)
            p.at0 += c;
        return sum;
    }
    Line operator*(Wide k) const   // k >= 0
    {
        Line product = *this;
        for (Piece &p : product.m_pieces) {
            p.slope *= k;
            p.at0 *= k;
        }
        return product;
    }

    // As other totals read this one: outside 16 bits it counts as `fallback`.
    Line Counted(Wide fallback) const
    {
        Line out;
        for (const Piece &p : m_pieces) {
            const Wide first = p.FirstReaching(kLow);
            const Wide last = p.LastAtMost(kHigh);
            out.Push(p.lo, std::min(first, last + 1) - 1, 0, fallback);
            out.Push(first, last, p.slope, p.at0);
            out.Push(std::max(last + 1, first), p.hi, 0, fallback);
        }
        return out;
    }


    // The bonuses around v0, at which the figure fits, over which it keeps
    // within 16 bits.
    lim::Range<qint32> Around(Wide v0) const
    {
        size_t k = 0;
        while (m_pieces[k].hi < v0)
            ++k;
        Wide high = kHigh;
        for (size_t i = k;; ++i) {
            // Rising within the piece, it only leaves 16 bits at the top.
            const Wide last = m_pieces[i].LastAtMost(kHigh);
            if (last < m_pieces[i].hi || i + 1 == m_pieces.size() || !Fits16(m_pieces[i + 1].at(m_pieces[i + 1].lo))) {
                high = last;
                break;
            }
        }
        Wide low = kLow;
        for (size_t i = k;; --i) {
            const Wide first = m_pieces[i].FirstReaching(kLow);
            if (first > m_pieces[i].lo || i == 0 || !Fits16(m_pieces[i - 1].at(m_pieces[i - 1].hi))) {
                low = first;
                break;
            }
        }
        return {static_cast<qint32>(low), static_cast<qint32>(high)};
    }

private:
    struct Piece {
        Wide lo, hi, slope, at0;
        Wide at(Wide v) const { return slope * v + at0; }
        // The first bonus of the piece at which the figure reaches t; hi + 1 for none.
        Wide FirstReaching(Wide t) const
        {
            if (slope == 0)
                return at0 >= t ? lo : hi + 1;
            return std::clamp(-FloorDiv(at0 - t, slope), lo, hi + 1);
        }
        // The last bonus of the piece at which the figure is at most t; lo - 1 for none.
        Wide LastAtMost(Wide t) const
        {
            if (slope == 0)
                return at0 <= t ? hi : lo - 1;
            return std::clamp(FloorDiv(t - at0, slope), lo - 1, hi);
        }
    };

    Line() = default;
    Line(Wide slope, Wide at0) : m_pieces{{kLow, kHigh, slope, at0}} {}
    void Push(Wide lo, Wide hi, Wide slope, Wide at0)
    {
        if (lo <= hi)
            m_pieces.push_back({lo, hi, slope, at0});
    }

    std::vector<Piece> m_pieces;
};

// The room the figures leave a bonus that stands at v0: around v0, as far as
// every figure that fits at v0 keeps fitting.
lim::Range<qint32> Within(const std::vector<Line> &figures, Wide v0)
{
    v0 = std::clamp(v0, kLow, kHigh);
    lim::Range<qint32> room = lim::kSmall;
    for (const Line &f : figures) {
        if (!Fits16(f.at(v0)))
            continue;
        const lim::Range<qint32> keeping = f.Around(v0);
        room.low = std::max(room.low, keeping.low);
        room.high = std::min(room.high, keeping.high);
    }
    return room;
}

double Number(const dao::Recordset &rs, const QString &column)
{
    const QVariant v = rs.Value(column);
    if (!v.isValid() || v.isNull())
        vb::Raise(vb::ErrInvalidUseOfNull);
    return vb::CDbl(v);
}

const std::array<QString, 10> &RaceStatColumns()
{
    static const std::array<QString, 10> columns = {
        QStringLiteral("AG"), QStringLiteral("CO"), QStringLiteral("Me"), QStringLiteral("Re"),
        QStringLiteral("SD"), QStringLiteral("EM"), QStringLiteral("It"), QStringLiteral("Pr"),
        QStringLiteral("Qu"), QStringLiteral("ST")};
    return columns;
}

enum : int { CO = 1, SD = 4, EM = 5, In = 6, Pr = 7 };

// Past this temporary value the bonus itself overflows, and the record counts it 0.
constexpr qint16 kLastBonusedValue = 16478;

} // namespace

// The record and the rules read once, the way the totals read them.
struct Personnage::Room {
    explicit Room(Personnage &record);

    // The typed bonus in place of what the record holds.
    struct Change {
        int stat = -1;                 // a statistic's special bonus
        qint32 category = 0;           // a category's, beside the rest of its total
        Wide categoryOthers = 0;
        qint32 skill = 0;              // a skill's item or special bonus, beside the rest of its own part
        Wide skillOthers = 0;
    };

    struct Category {
        std::array<int, 10> uses{};   // how many of its statistic columns name each statistic
        Wide rest = 0;                // the bonus of its ranks and its two special bonuses
        qint32 row = -1;              // the row of the rank table its total reads (the last one)
        std::vector<Wide> parts;      // its skills' own parts, each once, in order
        std::optional<QString> skillProgression;
    };

    void ReadSkills();
    // A skill's own part of its total: the bonus of its ranks, its item and
    // its special bonus; none for a skill the totals cannot work out.
    std::optional<Wide> Part(qint32 skill, Wide ranks, Wide item, Wide special);
    Wide RankBonus(Wide ranks, const QString &progression);
    void AddPart(qint32 skill, Wide part);

    // A statistic's total, and the same as the categories read it: after its
    // own overflow the bonus of the temporary value alone.
    Line Stat(int s, const Change &c) const;
    Line StatCounted(int s, const Change &c) const;
    // The sum of the category's statistics, which the skill window shows.
    Line StatSum(const Category &cat, const Change &c) const;
    Line CategoryTotal(qint32 id, const Category &cat, const Change &c) const;
    // An armour of the rules, and the own part of its maneuver skill as the record holds it.
    struct Armour {
        qint32 id = 0;
        Wide maxManeuvre = 0;
        qint32 skill = 0;
        std::optional<Wide> part;
    };
    // The armour's maneuver figure as the sheet works it out; none without a maneuver skill.
    std::optional<Line> Maneuver(const Armour &a, const Change &c) const;
    // The category's statistic sum, its total and its skills' totals.
    void CategoryFigures(qint32 id, const Change &c, Wide v0, std::vector<Line> &out) const;
    // The maneuver figure of every armour.
    void ArmourFigures(const Change &c, std::vector<Line> &out) const;
    // Three times the self-discipline total, and the months of the packages
    // the training dialog offers the character, which it works out from it.
    void TrainingFigures(const Change &c, std::vector<Line> &out) const;

    Personnage &p;
    bool raceFound = false;
    // The bonus of each statistic's temporary value, and with the race part.
    std::array<Wide, 10> valueBonus{};
    std::array<Wide, 10> statBase{};
    std::array<Wide, 10> special{};
    QHash<qint32, Category> categories;
    QHash<qint32, qint32> skillCategory;
    QHash<qint32, QString> progressions;
    // Every armour the sheet's list offers: picking one shows its figures.
    std::vector<Armour> armours;

private:
    QHash<QString, Wide> m_rankBonuses;
    // The same by skill, which names its progression: big tables repeat them.
    QHash<QPair<qint32, Wide>, Wide> m_skillRankBonuses;
};

Personnage::Room::Room(Personnage &record) : p(record)
{
    dao::Recordset race = rules::Open(QStringLiteral("Race Abilities"));
    raceFound = rules::Find(race, QStringLiteral("Race_ID"), p.Race_ID);
    for (int s = 0; s < 10; ++s) {
        const qint16 temporary = p.Stats(0, s);
        valueBonus[s] = temporary <= kLastBonusedValue ? p.BonusStats(temporary) : 0;
        statBase[s] = valueBonus[s];
        // Without the race the special bonus counts in no total.
        if (raceFound) {
            statBase[s] += static_cast<Wide>(Number(race, RaceStatColumns()[s]));
            special[s] = p.Stats(2, s);
        }
    }
}

void Personnage::Room::ReadSkills()
{
    dao::Recordset bonus = rules::Open(QStringLiteral("Skill Bonus"));
    dao::Recordset realm = rules::Open(QStringLiteral("Realms of Power"));
    const bool realmFound = rules::Find(realm, QStringLiteral("Realm_ID"), p.Royaume_ID);
    const auto progression = [&bonus](const QVariant &id) -> std::optional<QString> {
        if (!rules::Find(bonus, QStringLiteral("Skill_Bonus_ID"), vb::CLng(id)))
            return std::nullopt;
        return bonus.Value(QStringLiteral("Skill_Bonus")).toString();
    };

    for (dao::Recordset rs = rules::Open(QStringLiteral("Skill Category")); !rs.Eof(); rs.MoveNext()) {
        try {
            const qint32 id = vb::CLng(rs.Value(QStringLiteral("Skill_Category_ID")));
            Category cat;
            // The realm category draws on the statistics of the character's realm.
            const dao::Recordset &source = id == 28 ? realm : rs;
            if (id != 28 || realmFound) {
                for (const QString &column :
                     {QStringLiteral("Stat_ID1"), QStringLiteral("Stat_ID2"), QStringLiteral("Stat_ID3")}) {
                    const QVariant v = source.Value(column);
                    if (!v.isValid() || v.isNull())
                        continue;
                    const qint32 stat = vb::CLng(v);
                    if (stat >= 1 && stat <= 10)
                        ++cat.uses[stat - 1];
                }
            }
            // Without its progression the category's total always fails.
            const std::optional<QString> own = progression(rs.Value(QStringLiteral("Skill_Category_Bonus_ID")));
            if (!own)
                continue;
            Wide ranks = 0, special1 = 0, special2 = 0;
            for (qint64 row = 0; row <= p.NbSkillCat; ++row) {
                if (p.SkillCat(fId, row) != id)
                    continue;
                cat.row = static_cast<qint32>(row);
                ranks = p.SkillCat(fRank, row);
                special1 = p.SkillCat(fSpecial1, row);
                special2 = p.SkillCat(fSpecial2, row);
            }
            cat.rest = RankBonus(ranks, *own) + special1 + special2;
            cat.skillProgression = progression(rs.Value(QStringLiteral("Skill_Bonus_ID")));
            categories.insert(id, cat);
        } catch (const vb::Error &) {
            // A category whose total cannot be worked out narrows nothing.
        }
    }

    // Body development and the power points grow by the race's own progressions.
    QHash<qint32, QString> raceProgressions;
    dao::Recordset race = rules::Open(QStringLiteral("Race Abilities"));
    if (rules::Find(race, QStringLiteral("Race_ID"), p.Race_ID)) {
        const std::pair<qint32, const char *> own[] = {
            {270, "Channeling_PP"}, {271, "Essence_PP"}, {272, "Mentalism_PP"}, {23, "Body"}};
        for (const auto &[skill, column] : own)
            raceProgressions.insert(skill, race.Value(QString::fromLatin1(column)).toString());
    }
    for (dao::Recordset rs = rules::Open(QStringLiteral("Skills")); !rs.Eof(); rs.MoveNext()) {
        try {
            const qint32 skill = vb::CLng(rs.Value(QStringLiteral("Skill_ID")));
            const qint32 cat = vb::CLng(rs.Value(QStringLiteral("Skill_Category_ID")));
            const auto known = categories.constFind(cat);
            if (known == categories.cend() || !known->skillProgression)
                continue;
            skillCategory.insert(skill, cat);
            progressions.insert(skill, raceProgressions.value(skill, *known->skillProgression));
            // Every skill also shows a total for what the character has no row
            // of: no ranks and no bonus.
            AddPart(skill, RankBonus(0, progressions.value(skill)));
        } catch (const vb::Error &) {
        }
    }

    // The rows the totals read: the first one of each skill, or of each skill and key.
    const auto add = [this](qint32 skill, const std::function<std::array<Wide, 3>()> &cells) {
        try {
            const std::array<Wide, 3> c = cells();
            if (const std::optional<Wide> part = Part(skill, c[0], c[1], c[2]))
                AddPart(skill, *part);
        } catch (const vb::Error &) {
            // A row whose total always fails narrows nothing.
        }
    };
    QSet<qint32> skills;
    for (qint64 row = 0; p.Skill.hasRows() && row <= p.NbSkill; ++row) {
        const qint32 skill = p.Skill(fId, row);
        if (!skills.contains(skill)) {
            skills.insert(skill);
            add(skill, [&] { return std::array<Wide, 3>{p.Skill(fRank, row), p.Skill(fSpecial1, row), p.Skill(fSpecial2, row)}; });
        }
    }
    QSet<QPair<qint32, qint32>> keys;
    for (qint64 row = 1; row <= p.NbSubSkill; ++row) {
        const QString id = p.SubSkills(fId, row);
        const QString key = p.SubSkills(fKey, row);
        const QPair<qint32, qint32> pair(static_cast<qint32>(vb::Val(id)), static_cast<qint32>(vb::Val(key)));
        if (id.isEmpty() || key.isEmpty() || keys.contains(pair))
            continue;
        keys.insert(pair);
        const auto cell = [&](qint16 field) { return Wide{vb::CLng(vb::CDbl(QVariant(p.SubSkills(field, row))))}; };
        add(pair.first, [&] { return std::array<Wide, 3>{cell(fRank), cell(fItem), cell(fSpecial)}; });
    }
    for (qint16 kind : {RankKind::LanguageSkill, RankKind::WeaponSkill, RankKind::SpellList}) {
        const RankTable table = p.rankTable(kind);
        keys.clear();
        for (qint64 row = 1; row <= table.cells.upper() && row <= table.capacity; ++row) {
            const QPair<qint32, qint32> pair(table.cells(fId, row), table.cells(fKey, row));
            if (keys.contains(pair))
                continue;
            keys.insert(pair);
            add(pair.first, [&] {
                return std::array<Wide, 3>{table.cells(fRank, row), table.cells(fItem, row), table.cells(fSpecial, row)};
            });
        }
    }
    for (Category &cat : categories) {
        std::sort(cat.parts.begin(), cat.parts.end());
        cat.parts.erase(std::unique(cat.parts.begin(), cat.parts.end()), cat.parts.end());
    }

    try {
        dao::Recordset armour = rules::Open(QStringLiteral("Armor Modification"));
        if (!armour.Eof())
            armour.MoveFirst();
        for (; !armour.Eof(); armour.MoveNext()) {
            Armour a;
            a.id = vb::CLng(armour.Value(QStringLiteral("Armor_ID")));
            a.maxManeuvre = static_cast<Wide>(Number(armour, QStringLiteral("MaxManeuvre")));
            a.skill = rules::ManeuverSkill(a.id);
            if (a.skill != 0) {
                const qint32 row = p.RankRow(RankKind::Skill, a.skill);
                a.part = row >= 0 ? Part(a.skill, p.Skill(fRank, row), p.Skill(fSpecial1, row), p.Skill(fSpecial2, row))
                                  : Part(a.skill, 0, 0, 0);
            }
            armours.push_back(a);
        }
    } catch (const vb::Error &) {
        armours.clear();   // the sheet cannot show the figures either
    }
}

std::optional<Wide> Personnage::Room::Part(qint32 skill, Wide ranks, Wide item, Wide special)
{
    const QPair<qint32, Wide> key(skill, ranks);
    auto known = m_skillRankBonuses.constFind(key);
    if (known == m_skillRankBonuses.cend()) {
        const auto progression = progressions.constFind(skill);
        if (progression == progressions.cend())
            return std::nullopt;
        known = m_skillRankBonuses.insert(key, RankBonus(ranks, *progression));
    }
    return *known + item + special;
}

Wide Personnage::Room::RankBonus(Wide ranks, const QString &progression)
{
    const QString key = QString::number(ranks) + QLatin1Char('|') + progression;
    const auto known = m_rankBonuses.constFind(key);
    if (known != m_rankBonuses.cend())
        return *known;
    const Wide bonus = progressionBonus(vb::Check16(ranks), progression);
    m_rankBonuses.insert(key, bonus);
    return bonus;
}

void Personnage::Room::AddPart(qint32 skill, Wide part)
{
    const auto cat = categories.find(skillCategory.value(skill, -1));
    if (cat == categories.end())
        return;
    // Rows of one skill mostly repeat their part: sorting keeps the rest apart.
    if (cat->parts.empty() || cat->parts.back() != part)
        cat->parts.push_back(part);
}

Line Personnage::Room::Stat(int s, const Change &c) const
{
    return c.stat == s ? Line::Typed(statBase[s]) : Line::Constant(statBase[s] + special[s]);
}

Line Personnage::Room::StatCounted(int s, const Change &c) const
{
    return Stat(s, c).Counted(valueBonus[s]);
}

Line Personnage::Room::StatSum(const Category &cat, const Change &c) const
{
    Line sum = Line::Constant(0);
    for (int s = 0; s < 10; ++s)
        if (cat.uses[s] != 0)
            sum = sum + StatCounted(s, c) * cat.uses[s];
    return sum;
}

Line Personnage::Room::CategoryTotal(qint32 id, const Category &cat, const Change &c) const
{
    return StatSum(cat, c) + (c.category == id ? Line::Typed(c.categoryOthers) : Line::Constant(cat.rest));
}

std::optional<Line> Personnage::Room::Maneuver(const Armour &a, const Change &c) const
{
    if (a.skill == 0)
        return std::nullopt;
    // A skill total that cannot be worked out counts 0.
    Line skill = Line::Constant(0);
    const bool typed = c.skill == a.skill;
    const auto cat = categories.constFind(skillCategory.value(a.skill, -1));
    if (cat != categories.cend() && (typed || a.part)) {
        const Line own = typed ? Line::Typed(c.skillOthers) : Line::Constant(*a.part);
        skill = (CategoryTotal(cat.key(), *cat, c).Counted(0) + own).Counted(0);
    }
    return skill + a.maxManeuvre;
}

void Personnage::Room::CategoryFigures(qint32 id, const Change &c, Wide v0, std::vector<Line> &out) const
{
    const auto found = categories.constFind(id);
    if (found == categories.cend())
        return;
    out.push_back(StatSum(*found, c));
    const Line total = CategoryTotal(id, *found, c);
    out.push_back(total);
    // The skills whose totals fit as the record stands: those with the least
    // and the greatest own part among them bound the others.
    const Line counted = total.Counted(0);
    const Wide now = counted.at(v0);
    const auto first = std::lower_bound(found->parts.cbegin(), found->parts.cend(), kLow - now);
    const auto last = std::upper_bound(first, found->parts.cend(), kHigh - now);
    if (first != last) {
        out.push_back(counted + *first);
        out.push_back(counted + *(last - 1));
    }
}

void Personnage::Room::ArmourFigures(const Change &c, std::vector<Line> &out) const
{
    for (const Armour &a : armours)
        if (const std::optional<Line> maneuver = Maneuver(a, c))
            out.push_back(*maneuver);
}

void Personnage::Room::TrainingFigures(const Change &c, std::vector<Line> &out) const
{
    std::vector<Wide> months;
    try {
        dao::Recordset rs = rules::Open(
            QStringLiteral("SELECT Months, [Vocational/Lifestyle] AS Kind FROM [Training Package] INNER JOIN "
                           "[Training Package DP Cost] ON [Training Package].Training_ID = [Training Package DP "
                           "Cost].Training_ID WHERE Profession_ID=")
            + QString::number(p.Profession_ID));
        for (; !rs.Eof(); rs.MoveNext()) {
            // The dialog lists the vocational and the lifestyle packages only.
            const QString kind = rs.Value(QStringLiteral("Kind")).toString();
            if (kind == QLatin1String("V") || kind == QLatin1String("L"))
                months.push_back(vb::CInt(rs.Value(QStringLiteral("Months"))));
        }
    } catch (const vb::Error &) {
        return;   // the dialog shows no package either
    }
    if (months.empty())
        return;
    // The dialog reads the total as the statistics panel does, after its own
    // overflow the bonus of the temporary value alone.
    const Line three = StatCounted(SD, c) * 3;
    out.push_back(three);
    // A package's months, m x (100 - 3 x SD) / 100 rounded half to even, fit
    // while m x (100 - 3 x SD) lies from -3276850 to 3276749: for each m a
    // least and a greatest tripled total, kept as two figures that leave 16
    // bits exactly where the tripled total passes them.
    Wide least = kLow, greatest = kHigh;
    for (const Wide m : months) {
        if (m > 0) {
            least = std::max(least, 100 - 3276749 / m);
            greatest = std::min(greatest, 100 + 3276850 / m);
        } else if (m < 0) {
            least = std::max(least, 100 - 3276850 / -m);
            greatest = std::min(greatest, 100 + 3276749 / -m);
        }
    }
    if (least > kLow)
        out.push_back(three + (kLow - least));
    if (greatest < kHigh)
        out.push_back(three + (kHigh - greatest));
}

lim::Range<qint32> Personnage::StatSpecialRoom(qint16 stat)
{
    if (stat < 0 || stat > 9)
        return lim::kSmall;
    try {
        Room room(*this);
        if (!room.raceFound)
            return lim::kSmall;   // the special bonus counts in no total
        room.ReadSkills();
        Room::Change change;
        change.stat = stat;
        const Wide v0 = room.special[stat];
        std::vector<Line> figures{room.Stat(stat, change)};
        for (auto it = room.categories.cbegin(); it != room.categories.cend(); ++it)
            if (it->uses[stat] != 0)
                room.CategoryFigures(it.key(), change, v0, figures);
        if (stat == SD)
            room.TrainingFigures(change, figures);
        room.ArmourFigures(change, figures);
        return Within(figures, v0);
    } catch (const vb::Error &) {
        return lim::kSmall;
    }
}

lim::Range<qint32> Personnage::ResistanceSpecialRoom(qint16 kind)
{
    if (kind < 1 || kind > 9)
        return lim::kSmall;
    try {
        dao::Recordset race = rules::Open(QStringLiteral("Race Abilities"));
        if (!rules::Find(race, QStringLiteral("Race_ID"), Race_ID))
            return lim::kSmall;   // the total is 0 whatever the bonus
        const auto B = [this](int s) {
            const qint16 temporary = Stats(0, s);
            return temporary <= kLastBonusedValue ? Wide{BonusStats(temporary)} : Wide{0};
        };
        const auto col = [&race](const char *c) { return Number(race, QString::fromLatin1(c)); };
        Wide statPart = 0;
        double racePart = 0;
        switch (kind) {
        case 1: statPart = B(EM) + B(In) + B(Pr); racePart = vb::IDiv(col("Ess") + col("Ment") + col("Chan"), 3); break;
        case 2: statPart = 3 * B(In); racePart = col("Chan"); break;
        case 3: statPart = B(EM) + B(In); racePart = vb::IDiv(col("Ess") + col("Chan"), 2); break;
        case 4: statPart = B(In) + B(Pr); racePart = vb::IDiv(col("Ment") + col("Chan"), 2); break;
        case 5: statPart = 3 * B(EM); racePart = col("Ess"); break;
        case 6: statPart = B(EM) + B(Pr); racePart = vb::IDiv(col("Ess") + col("Ment"), 2); break;
        case 7: statPart = 3 * B(Pr); racePart = col("Ment"); break;
        case 8: statPart = 3 * B(CO); racePart = col("Pois"); break;
        default: statPart = 3 * B(SD); racePart = col("Fear"); break;
        }
        const Wide base = static_cast<Wide>(vb::RoundHalfEven(static_cast<double>(statPart) + racePart));
        if (!Fits16(statPart) || !Fits16(base))
            return lim::kSmall;   // the total fails whatever the bonus
        return Within({Line::Typed(base)}, ResistanceSpecial(kind));
    } catch (const vb::Error &) {
        return lim::kSmall;
    }
}

lim::Range<qint32> Personnage::RankBonusRoom(qint16 kind, qint32 row, qint16 field)
{
    if (field != 2 && field != 3)
        return lim::kSmall;
    try {
        Room room(*this);
        room.ReadSkills();
        Room::Change change;
        std::vector<Line> figures;
        Wide v0 = 0;
        if (kind == RankKind::SkillCategory) {
            const qint32 id = SkillCat(fId, row);
            const auto cat = room.categories.constFind(id);
            // The total reads the category's last row only.
            if (id < 1 || cat == room.categories.cend() || cat->row != row)
                return lim::kSmall;
            v0 = SkillCat(field, row);
            change.category = id;
            change.categoryOthers = cat->rest - v0;
            room.CategoryFigures(id, change, v0, figures);
        } else {
            qint32 skill = 0, key = 0;
            std::array<Wide, 3> cells{};   // ranks, item, special
            if (kind == RankKind::SubSkill) {
                skill = static_cast<qint32>(vb::Val(SubSkills(fId, row)));
                key = static_cast<qint32>(vb::Val(SubSkills(fKey, row)));
                for (qint16 f = 1; f <= 3; ++f)
                    cells[f - 1] = vb::CLng(vb::CDbl(QVariant(SubSkills(f, row))));
            } else if (kind >= RankKind::Skill && kind <= RankKind::SpellList) {
                const RankTable table = rankTable(kind);
                skill = table.cells(fId, row);
                key = table.keyed ? table.cells(fKey, row) : 0;
                for (qint16 f = 1; f <= 3; ++f)
                    cells[f - 1] = table.cells(f, row);
            } else {
                return lim::kSmall;
            }
            const auto cat = room.categories.constFind(room.skillCategory.value(skill, -1));
            // The total reads the first row of the skill (and key) only.
            if (skill < 1 || cat == room.categories.cend() || RankRow(kind, skill, key) != row)
                return lim::kSmall;
            v0 = cells[field - 1];
            cells[field - 1] = 0;
            const std::optional<Wide> others = room.Part(skill, cells[0], cells[1], cells[2]);
            if (!others)
                return lim::kSmall;
            figures.push_back(room.CategoryTotal(cat.key(), *cat, change).Counted(0) + Line::Typed(*others));
            if (kind == RankKind::Skill) {
                change.skill = skill;
                change.skillOthers = *others;
            }
        }
        room.ArmourFigures(change, figures);
        return Within(figures, v0);
    } catch (const vb::Error &) {
        return lim::kSmall;
    }
}
