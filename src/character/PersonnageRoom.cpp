// How far a bonus the player types may go. Every total of the record is a
// 16-bit number, and so is what the printed page derives from them. A
// statistic's special bonus feeds its total, the totals of the categories
// that draw on the statistic and those of every skill in them; a category's
// special bonus feeds its total and its skills'; an item or special bonus
// feeds its skill's total. The room is worked out from the record as it
// stands, in wide arithmetic, so that finding it never overflows and never
// shows a box.
#include "character/Personnage.h"

#include "frame/Rules.h"
#include "platform/dao.h"
#include "platform/vb.h"

#include <QHash>
#include <QSet>

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

// A figure the record works out, as a function of the typed bonus; it never
// falls when the bonus grows.
using Follower = std::function<Wide(Wide)>;

// The bonuses in 16 bits that keep f within 16 bits: an interval, since f
// never falls; low above high when no bonus does.
lim::Range<qint32> Keeping(const Follower &f)
{
    Wide lo = kLow, hi = kHigh + 1;   // the first bonus with f at or above kLow; kHigh + 1 for none
    while (lo < hi) {
        const Wide mid = lo + (hi - lo) / 2;
        if (f(mid) >= kLow)
            hi = mid;
        else
            lo = mid + 1;
    }
    const Wide first = lo;
    lo = kLow - 1;   // the last bonus with f at or below kHigh; kLow - 1 for none
    hi = kHigh;
    while (lo < hi) {
        const Wide mid = lo + (hi - lo + 1) / 2;
        if (f(mid) <= kHigh)
            lo = mid;
        else
            hi = mid - 1;
    }
    return {static_cast<qint32>(first), static_cast<qint32>(lo)};
}

// What every follower allows together. A follower that no bonus keeps in
// range overflows whatever is typed: that is not the bonus's doing.
lim::Range<qint32> Intersect(const std::vector<Follower> &followers)
{
    lim::Range<qint32> room = lim::kSmall;
    for (const Follower &f : followers) {
        const lim::Range<qint32> keeping = Keeping(f);
        if (keeping.low > keeping.high)
            continue;
        room.low = std::max(room.low, keeping.low);
        room.high = std::min(room.high, keeping.high);
    }
    return room.low <= room.high ? room : lim::kSmall;
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

enum : int { AG = 0, CO = 1, SD = 4, EM = 5, In = 6, Pr = 7, Qu = 8, ST = 9 };

// Past this temporary value the bonus itself overflows, and the record counts it 0.
constexpr qint16 kLastBonusedValue = 16478;

} // namespace

// The record and the rules read once, the way the totals read them.
struct Personnage::Room {
    explicit Room(Personnage &record);

    // The typed bonus in place of what the record holds.
    struct Change {
        int stat = -1;                             // a statistic's special bonus
        qint32 category = 0;                       // a category's: its ranks and specials, given the bonus
        std::function<Wide(Wide)> categoryRest;
        bool maneuver = false;                     // the maneuver skill's own part, given the bonus
        std::function<Wide(Wide)> part;
        Wide v = 0;
        Change at(Wide value) const
        {
            Change moved = *this;
            moved.v = value;
            return moved;
        }
    };

    struct Category {
        std::array<int, 10> uses{};   // how many of its statistic columns name each statistic
        Wide rest = 0;                // the bonus of its ranks and its two special bonuses
        qint32 row = -1;              // the row of the rank table its total reads (the last one)
        std::optional<Wide> lowPart, highPart;   // the lowest and highest of its skills' own parts
        std::optional<QString> skillProgression;
    };

    void ReadSkills();
    // A skill's own part of its total: the bonus of its ranks, its item and
    // its special bonus; none for a skill the totals cannot work out.
    std::optional<Wide> Part(qint32 skill, Wide ranks, Wide item, Wide special) ;
    Wide RankBonus(Wide ranks, const QString &progression);
    void AddPart(qint32 skill, Wide part);

    // A statistic's total as the record gives it, 0 after its own overflow.
    Wide StatShown(int s) const;
    Wide Stat(int s, const Change &c) const;
    Wide StatSum(const Category &cat, const Change &c) const;
    Wide CategoryTotal(qint32 id, const Category &cat, const Change &c) const;
    bool Moves(qint32 id, const Category &cat, const Change &c) const;
    bool AllowanceFollows(const Change &c) const;
    Wide Allowance(const Change &c) const;
    // The category's statistic sum, its total and its skills' totals.
    void CategoryFollowers(qint32 id, const Change &change, std::vector<Follower> &out) const;

    Personnage &p;
    bool raceFound = false;
    // The race part and the bonus of the temporary value of each statistic.
    std::array<Wide, 10> statBase{};
    std::array<Wide, 10> special{};
    QHash<qint32, Category> categories;
    QHash<qint32, qint32> skillCategory;
    QHash<qint32, QString> progressions;
    // The armour, and the own part of its maneuver skill, as the printed page reads them.
    bool armourFound = false;
    qint32 armourId = 0;
    Wide maxManeuvre = 0, minManeuvre = 0;
    qint32 maneuverSkill = 0;
    std::optional<Wide> maneuverPart;

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
        const Wide bonus = temporary <= kLastBonusedValue ? p.BonusStats(temporary) : 0;
        statBase[s] = bonus;
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

    try {
        dao::Recordset armour = rules::Open(QStringLiteral("Armor Modification"));
        if (rules::Find(armour, QStringLiteral("Armor_ID"), p.Armure)) {
            armourId = vb::CLng(armour.Value(QStringLiteral("Armor_ID")));
            maxManeuvre = static_cast<Wide>(Number(armour, QStringLiteral("MaxManeuvre")));
            minManeuvre = static_cast<Wide>(Number(armour, QStringLiteral("MinManeuvre")));
            maneuverSkill = rules::ManeuverSkill(armourId);
            armourFound = true;
        }
        if (maneuverSkill != 0) {
            const qint32 row = p.RankRow(RankKind::Skill, maneuverSkill);
            maneuverPart = row >= 0 ? Part(maneuverSkill, p.Skill(fRank, row), p.Skill(fSpecial1, row), p.Skill(fSpecial2, row))
                                    : Part(maneuverSkill, 0, 0, 0);
        }
    } catch (const vb::Error &) {
        armourFound = false;   // the page cannot print the allowance either
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
    cat->lowPart = std::min(cat->lowPart.value_or(part), part);
    cat->highPart = std::max(cat->highPart.value_or(part), part);
}

Wide Personnage::Room::StatShown(int s) const
{
    const Wide total = statBase[s] + special[s];
    return Fits16(total) ? total : 0;
}

Wide Personnage::Room::Stat(int s, const Change &c) const
{
    return c.stat == s ? statBase[s] + c.v : StatShown(s);
}

Wide Personnage::Room::StatSum(const Category &cat, const Change &c) const
{
    Wide sum = 0;
    for (int s = 0; s < 10; ++s)
        sum += cat.uses[s] * Stat(s, c);
    return sum;
}

Wide Personnage::Room::CategoryTotal(qint32 id, const Category &cat, const Change &c) const
{
    return StatSum(cat, c) + (c.category == id ? c.categoryRest(c.v) : cat.rest);
}

bool Personnage::Room::Moves(qint32 id, const Category &cat, const Change &c) const
{
    return c.category == id || (c.stat >= 0 && cat.uses[c.stat] != 0);
}

bool Personnage::Room::AllowanceFollows(const Change &c) const
{
    if (!armourFound)
        return false;
    if (c.stat == ST || c.maneuver)
        return true;
    const auto cat = categories.constFind(skillCategory.value(maneuverSkill, -1));
    return maneuverSkill != 0 && cat != categories.cend() && Moves(cat.key(), *cat, c);
}

Wide Personnage::Room::Allowance(const Change &c) const
{
    // As the page works it out: the armour's maneuver penalty, at most its
    // least penalty, and three times the strength total.
    std::optional<Wide> m;
    if (armourId >= 1 && armourId <= 4) {
        m = 0;
    } else if (maneuverSkill != 0) {
        Wide skill = 0;
        const auto cat = categories.constFind(skillCategory.value(maneuverSkill, -1));
        if (cat != categories.cend()) {
            // A category total that overflows counts 0 in the skill's, unless
            // the bonus moves it: its own follower refuses that.
            const Wide total = CategoryTotal(cat.key(), *cat, c);
            skill = (Fits16(total) || Moves(cat.key(), *cat, c) ? total : 0)
                + (c.maneuver ? c.part(c.v) : maneuverPart.value_or(0));
        }
        m = maxManeuvre + skill;
    }
    if (m.value_or(0) > minManeuvre)
        m = minManeuvre;
    return m.value_or(0) + 3 * Stat(ST, c);
}

void Personnage::Room::CategoryFollowers(qint32 id, const Change &change, std::vector<Follower> &out) const
{
    const auto found = categories.constFind(id);
    if (found == categories.cend())
        return;
    const Category cat = *found;
    out.push_back([this, cat, change](Wide v) { return StatSum(cat, change.at(v)); });
    out.push_back([this, id, cat, change](Wide v) { return CategoryTotal(id, cat, change.at(v)); });
    for (const std::optional<Wide> &part : {cat.lowPart, cat.highPart})
        if (part)
            out.push_back([this, id, cat, change, own = *part](Wide v) { return CategoryTotal(id, cat, change.at(v)) + own; });
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
        std::vector<Follower> followers;
        followers.push_back([&room, stat](Wide v) { return room.statBase[stat] + v; });
        for (auto it = room.categories.cbegin(); it != room.categories.cend(); ++it)
            if (it->uses[stat] != 0)
                room.CategoryFollowers(it.key(), change, followers);
        // The printed page triples the agility, quickness and strength totals.
        if (stat == AG || stat == Qu || stat == ST)
            followers.push_back([&room, stat](Wide v) { return 3 * (room.statBase[stat] + v); });
        if (room.AllowanceFollows(change))
            followers.push_back([&room, change](Wide v) { return room.Allowance(change.at(v)); });
        return Intersect(followers);
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
        return Intersect({[base](Wide v) { return base + v; }});
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
        std::vector<Follower> followers;
        if (kind == RankKind::SkillCategory) {
            const qint32 id = SkillCat(fId, row);
            const auto cat = room.categories.constFind(id);
            // The total reads the category's last row only.
            if (id < 1 || cat == room.categories.cend() || cat->row != row)
                return lim::kSmall;
            const Wide others = cat->rest - SkillCat(field, row);
            change.category = id;
            change.categoryRest = [others](Wide v) { return others + v; };
            room.CategoryFollowers(id, change, followers);
        } else {
            qint32 skill = 0, key = 0;
            std::array<Wide, 3> cells{};   // ranks, item, special
            if (kind == RankKind::SubSkill) {
                skill = static_cast<qint32>(vb::Val(SubSkills(fId, row)));
                key = static_cast<qint32>(vb::Val(SubSkills(fKey, row)));
                for (qint16 f = 1; f <= 3; ++f)   // ranks, item, special
                    cells[f - 1] = vb::CLng(vb::CDbl(QVariant(SubSkills(f, row))));
            } else if (kind >= RankKind::Skill && kind <= RankKind::SpellList) {
                const RankTable table = rankTable(kind);
                skill = table.cells(fId, row);
                key = table.keyed ? table.cells(fKey, row) : 0;
                for (qint16 f = 1; f <= 3; ++f)   // ranks, item, special
                    cells[f - 1] = table.cells(f, row);
            } else {
                return lim::kSmall;
            }
            const auto cat = room.categories.constFind(room.skillCategory.value(skill, -1));
            // The total reads the first row of the skill (and key) only.
            if (skill < 1 || cat == room.categories.cend() || RankRow(kind, skill, key) != row)
                return lim::kSmall;
            cells[field - 1] = 0;
            const std::optional<Wide> fixed = room.Part(skill, cells[0], cells[1], cells[2]);
            if (!fixed)
                return lim::kSmall;
            change.part = [fixed](Wide v) { return *fixed + v; };
            change.maneuver = kind == RankKind::Skill && skill == room.maneuverSkill;
            const Wide total = room.CategoryTotal(cat.key(), *cat, change);
            const Wide counted = Fits16(total) ? total : 0;   // as the skill's total counts it
            followers.push_back([counted, change](Wide v) { return counted + change.part(v); });
        }
        if (room.AllowanceFollows(change))
            followers.push_back([&room, change](Wide v) { return room.Allowance(change.at(v)); });
        return Intersect(followers);
    } catch (const vb::Error &) {
        return lim::kSmall;
    }
}
