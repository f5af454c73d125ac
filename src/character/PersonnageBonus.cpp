// Statistic, resistance, skill-category and skill bonuses of the character
// record. Every computation reads the rules afresh through its own recordsets
// (the data layer keeps the read-only rows), so a result always reflects the
// record as it stands; nothing is written on any path.
#include "character/Personnage.h"
#include "character/Guarded.h"
#include "frame/Rules.h"
#include "platform/dao.h"
#include "platform/vb.h"

#include <array>

namespace {

// One recordset opened on the rules database and searched the way every
// reader does; closed on every way out. Table and column names are passed as
// literals, so naming them costs no allocation.
class RulesTable {
public:
    explicit RulesTable(const QString &source) : m_rs(rules::Open(source)) {}
    ~RulesTable()
    {
        try {
            if (m_rs.isOpen())
                m_rs.Close();
        } catch (const vb::Error &) {
            // Closing a read-only recordset loses nothing.
        }
    }
    RulesTable(const RulesTable &) = delete;
    RulesTable &operator=(const RulesTable &) = delete;

    // Positions on the first row whose column holds id; false when none does.
    bool Find(const QString &column, qint64 id) { return rules::Find(m_rs, column, QVariant(id)); }
    QVariant Value(const QString &column) const { return m_rs.Value(column); }
    // A number the rules must hold: an empty column is an error.
    double Number(const QString &column) const
    {
        const QVariant v = Value(column);
        if (!v.isValid() || v.isNull())
            vb::Raise(vb::ErrInvalidUseOfNull);
        return vb::CDbl(v);
    }

private:
    dao::Recordset m_rs;
};

// Column of the race's bonus for each statistic index.
const QString &RaceStatColumn(qint16 stat)
{
    static const std::array<QString, 10> columns = {
        QStringLiteral("AG"), QStringLiteral("CO"), QStringLiteral("Me"), QStringLiteral("Re"),
        QStringLiteral("SD"), QStringLiteral("EM"), QStringLiteral("It"), QStringLiteral("Pr"),
        QStringLiteral("Qu"), QStringLiteral("ST")};
    return columns.at(static_cast<size_t>(stat));
}

// The sum of the statistic totals a category draws on, `category` found on
// its row: its own statistics, or for the realm category those of the
// character's realm, none when the rules list no such realm.
qint64 StatisticsSum(Personnage &p, qint32 cat, RulesTable &category, RulesTable &realm, RulesTable &stat)
{
    if (cat == 28 && !realm.Find(QStringLiteral("Realm_ID"), p.Royaume_ID))
        return 0;
    RulesTable &source = cat == 28 ? realm : category;
    qint64 s = 0;
    for (const QString &column : {QStringLiteral("Stat_ID1"), QStringLiteral("Stat_ID2"), QStringLiteral("Stat_ID3")}) {
        const QVariant v = source.Value(column);
        if (!v.isValid() || v.isNull())
            continue;
        const qint32 id = vb::CLng(v);
        if (id > 0 && stat.Find(QStringLiteral("Stat_ID"), id))
            s += p.TotalStatBonus(vb::CInt(stat.Number(QStringLiteral("Stat_ID")) - 1));
    }
    return s;
}

// Statistic indexes (AG 0 ... ST 9) the resistances are built from.
enum : qint16 { AG = 0, CO = 1, SD = 4, EM = 5, In = 6, Pr = 7 };

// A text cell of the record read as a number; empty or non-numeric text is an error.
double CellNumber(const QString &text)
{
    return vb::CDbl(QVariant(text));
}

// The value of one progression token in quarters, so that fractions stay exact.
qint64 TokenQuarters(const QString &token)
{
    if (token == QStringLiteral(u"\u00BC"))
        return 1;
    if (token == QStringLiteral(u"\u00BD"))
        return 2;
    if (token == QStringLiteral(u"\u00BE"))
        return 3;
    if (token == QStringLiteral(u"1\u00BD"))
        return 6;
    // Anything else must be a whole number as written: an optional sign and
    // digits, nothing around them.
    int i = 0;
    if (i < token.size() && (token[i] == u'-' || token[i] == u'+'))
        ++i;
    if (i == token.size())
        vb::Raise(vb::ErrTypeMismatch);
    qint64 value = 0;
    for (; i < token.size(); ++i) {
        const char16_t c = token[i].unicode();
        if (c < u'0' || c > u'9')
            vb::Raise(vb::ErrTypeMismatch);
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL)
            vb::Raise(vb::ErrOverflow);
    }
    if (token[0] == u'-')
        value = -value;
    return vb::Check32(value) * qint64{4};
}

} // namespace

qint16 Personnage::BonusStats(qint16 value)
{
    // The bands round quotients to the nearest whole number with halves going
    // up, which is a floor division of the doubled numerators below.
    const auto floorDiv = [](qint64 a, qint64 b) {
        qint64 q = a / b;
        if ((a % b != 0) && ((a < 0) != (b < 0)))
            --q;
        return q;
    };
    qint16 result = 0;
    character::guarded("BonusStats", [&] {
        const qint64 v = value;
        if (v <= 10)
            result = vb::Check16(floorDiv(v - 20, 2));
        else if (v <= 30)
            result = vb::Check16(floorDiv(2 * v - 61, 10));
        else if (v <= 69)
            result = 0;
        else if (v <= 89)
            result = vb::Check16(floorDiv(2 * v - 129, 10));
        else if (v <= 100)
            result = vb::Check16(floorDiv(v - 80, 2));
        else
            result = vb::Mul16(static_cast<int>(v - 95), 2);
    });
    return result;
}

qint16 Personnage::TotalStatBonus(qint16 stat)
{
    qint16 result = 0;
    character::guarded("TotalStatBonus", [&] {
        RulesTable race(QStringLiteral("Race Abilities"));
        const bool found = race.Find(QStringLiteral("Race_ID"), Race_ID);
        const qint16 b = BonusStats(Stats(0, stat));
        result = b;
        // A race the rules do not know contributes nothing, and neither does
        // the special bonus then.
        if (found)
            result = vb::CInt(race.Number(RaceStatColumn(stat)) + b + Stats(2, stat));
    });
    return result;
}

qint16 Personnage::TotalResistanceBonus(qint16 kind)
{
    qint16 result = 0;
    character::guarded("TotalResistanceBonus", [&] {
        RulesTable race(QStringLiteral("Race Abilities"));
        if (!race.Find(QStringLiteral("Race_ID"), Race_ID) || kind < 1 || kind > 9)
            return;
        const auto B = [this](qint16 stat) { return BonusStats(Stats(0, stat)); };
        qint16 s = 0;
        switch (kind) {
        case 1: s = vb::Add16(vb::Add16(B(EM), B(In)), B(Pr)); break;
        case 2: s = vb::Mul16(3, B(In)); break;
        case 3: s = vb::Add16(B(EM), B(In)); break;
        case 4: s = vb::Add16(B(In), B(Pr)); break;
        case 5: s = vb::Mul16(3, B(EM)); break;
        case 6: s = vb::Add16(B(EM), B(Pr)); break;
        case 7: s = vb::Mul16(3, B(Pr)); break;
        case 8: s = vb::Mul16(3, B(CO)); break;
        default: s = vb::Mul16(3, B(SD)); break;
        }
        result = s;
        // Averaged race parts drop their remainder toward zero: -5 \ 2 is -2.
        const auto col = [&race](const QString &c) { return race.Number(c); };
        double r = 0;
        switch (kind) {
        case 1: r = vb::IDiv(col(QStringLiteral("Ess")) + col(QStringLiteral("Ment")) + col(QStringLiteral("Chan")), 3); break;
        case 2: r = col(QStringLiteral("Chan")); break;
        case 3: r = vb::IDiv(col(QStringLiteral("Ess")) + col(QStringLiteral("Chan")), 2); break;
        case 4: r = vb::IDiv(col(QStringLiteral("Ment")) + col(QStringLiteral("Chan")), 2); break;
        case 5: r = col(QStringLiteral("Ess")); break;
        case 6: r = vb::IDiv(col(QStringLiteral("Ess")) + col(QStringLiteral("Ment")), 2); break;
        case 7: r = col(QStringLiteral("Ment")); break;
        case 8: r = col(QStringLiteral("Pois")); break;
        default: r = col(QStringLiteral("Fear")); break;
        }
        result = vb::CInt(s + r);
        result = vb::Add16(result, ResistanceSpecial(kind));
    });
    return result;
}

qint16 Personnage::BonusRankProgression(qint16 ranks, const QString &progression)
{
    qint16 result = 0;
    character::guarded("BonusRankProgression", [&] { result = progressionBonus(ranks, progression); });
    return result;
}

qint16 Personnage::progressionBonus(qint16 ranks, const QString &progression)
{
    const QStringList tokens = progression.split(QChar(0x2022));
    if (tokens.size() < 5)
        vb::Raise(vb::ErrSubscript);
    if (tokens.size() > 5)
        vb::Raise(vb::ErrInvalidCall);
    std::array<qint64, 5> a{};
    for (int k = 0; k < 5; ++k)
        a[k] = TokenQuarters(tokens[k]);
    const qint64 r = ranks;
    qint64 quarters = 0;
    if (r < 0)
        quarters = 0;
    else if (r == 0)
        quarters = a[0];
    else if (r <= 10)
        quarters = r * a[1];
    else if (r <= 20)
        quarters = 10 * a[1] + (r - 10) * a[2];
    else if (r <= 30)
        quarters = 10 * (a[1] + a[2]) + (r - 20) * a[3];
    else
        quarters = 10 * (a[1] + a[2] + a[3]) + (r - 30) * a[4];
    // A fractional bonus becomes whole with its half going to the even neighbour.
    return vb::CInt(static_cast<double>(quarters) / 4.0);
}

qint64 Personnage::CategoryStatSum(qint32 cat)
{
    RulesTable category(QStringLiteral("Skill Category"));
    RulesTable realm(QStringLiteral("Realms of Power"));
    RulesTable stat(QStringLiteral("Stat"));
    if (!category.Find(QStringLiteral("Skill_Category_ID"), cat))
        vb::Raise(vb::ErrNoCurrentRecord);
    return StatisticsSum(*this, cat, category, realm, stat);
}

qint16 Personnage::ManeuverFigure(qint32 armour, double maxManeuvre)
{
    const qint32 skill = rules::ManeuverSkill(armour);
    return skill ? vb::CInt(maxManeuvre + TotalSkillBonus(skill, 0, RankKind::Skill)) : qint16(0);
}

qint16 Personnage::TotalSkillCatBonus(qint32 cat)
{
    qint16 result = 0;
    character::guarded("TotalSkillCatBonus", [&] { result = skillCatTotal(cat, false); });
    return result;
}

qint16 Personnage::SkillCatTotal(qint32 cat)
{
    return skillCatTotal(cat, true);
}

// Raising, an error of a total's own figures (the ranks' bonus, the sum) is
// the caller's to say; otherwise the ranks' bonus says its own and counts 0,
// as the totals always did. A statistic says its own either way.
qint16 Personnage::ranksBonus(bool raising, qint16 ranks, const QString &progression)
{
    return raising ? progressionBonus(ranks, progression) : BonusRankProgression(ranks, progression);
}

qint16 Personnage::skillCatTotal(qint32 cat, bool raising)
{
    RulesTable category(QStringLiteral("Skill Category"));
    RulesTable realm(QStringLiteral("Realms of Power"));
    RulesTable stat(QStringLiteral("Stat"));
    RulesTable bonus(QStringLiteral("Skill Bonus"));
    if (!category.Find(QStringLiteral("Skill_Category_ID"), cat))
        vb::Raise(vb::ErrNoCurrentRecord);
    const qint64 s = StatisticsSum(*this, cat, category, realm, stat);

    if (!bonus.Find(QStringLiteral("Skill_Bonus_ID"), vb::CLng(category.Number(QStringLiteral("Skill_Category_Bonus_ID")))))
        vb::Raise(vb::ErrNoCurrentRecord);
    const QString progression = bonus.Value(QStringLiteral("Skill_Bonus")).toString();

    // Every row of the category counts in turn, so the last one holds.
    bool matched = false;
    qint64 r = 0, x1 = 0, x2 = 0;
    for (qint64 row = 0; row <= NbSkillCat; ++row) {
        if (SkillCat(fId, row) != cat)
            continue;
        matched = true;
        r = ranksBonus(raising, vb::Check16(SkillCat(fRank, row)), progression);
        x1 = SkillCat(fSpecial1, row);
        x2 = SkillCat(fSpecial2, row);
    }
    if (!matched)
        r = ranksBonus(raising, 0, progression);
    return vb::Check16(s + r + x1 + x2);
}

qint16 Personnage::TotalSkillBonus(qint32 skill, qint32 item, qint32 kind)
{
    qint16 result = 0;
    character::guarded("TotalSkillBonus", [&] { result = skillTotal(skill, item, kind, false); });
    return result;
}

qint16 Personnage::SkillTotal(qint32 skill, qint32 item, qint32 kind)
{
    return skillTotal(skill, item, kind, true);
}

qint16 Personnage::skillTotal(qint32 skill, qint32 item, qint32 kind, bool raising)
{
    RulesTable skills(QStringLiteral("Skills"));
    RulesTable category(QStringLiteral("Skill Category"));
    RulesTable race(QStringLiteral("Race Abilities"));
    RulesTable bonus(QStringLiteral("Skill Bonus"));
    if (!skills.Find(QStringLiteral("Skill_ID"), skill))
        vb::Raise(vb::ErrNoCurrentRecord);
    const qint32 cat = vb::CLng(skills.Number(QStringLiteral("Skill_Category_ID")));
    if (!category.Find(QStringLiteral("Skill_Category_ID"), cat))
        vb::Raise(vb::ErrNoCurrentRecord);
    if (!bonus.Find(QStringLiteral("Skill_Bonus_ID"), vb::CLng(category.Number(QStringLiteral("Skill_Bonus_ID")))))
        vb::Raise(vb::ErrNoCurrentRecord);
    QString progression = bonus.Value(QStringLiteral("Skill_Bonus")).toString();

    // Body development and the power points grow by the race's own
    // progressions; a race the rules do not know leaves the category's.
    QString raceColumn;
    switch (skill) {
    case 270: raceColumn = QStringLiteral("Channeling_PP"); break;
    case 271: raceColumn = QStringLiteral("Essence_PP"); break;
    case 272: raceColumn = QStringLiteral("Mentalism_PP"); break;
    case 23: raceColumn = QStringLiteral("Body"); break;
    default: break;
    }
    if (!raceColumn.isEmpty() && race.Find(QStringLiteral("Race_ID"), Race_ID))
        progression = race.Value(raceColumn).toString();

    // The first row of the skill holds: that is the row the transfers add to.
    bool matched = false;
    qint64 r = 0, x1 = 0, x2 = 0;
    const auto take = [&](qint64 rank, qint64 third, qint64 fourth) {
        matched = true;
        r = ranksBonus(raising, vb::Check16(rank), progression);
        x1 = third;
        x2 = fourth;
    };
    switch (kind) {
    case 2:
        // A skill table that never grew has no rows, which matches nothing.
        for (qint64 row = 0; Skill.hasRows() && row <= NbSkill && !matched; ++row)
            if (Skill(fId, row) == skill)
                take(Skill(fRank, row), Skill(fSpecial1, row), Skill(fSpecial2, row));
        break;
    case 3: {
        const auto takeSub = [&](qint64 row) {
            take(vb::CLng(CellNumber(SubSkills(fRank, row))), vb::CLng(CellNumber(SubSkills(fItem, row))),
                 vb::CLng(CellNumber(SubSkills(fSpecial, row))));
        };
        // An empty cell reads as 0, so a skill and a number other than 0
        // are only held by filled rows: the record's lookup finds them.
        if (skill != 0 && item != 0) {
            if (const qint32 row = firstSubSkillRow(skill, item); row > 0)
                takeSub(row);
            break;
        }
        for (qint64 row = 1; row <= NbSubSkill && !matched; ++row) {
            const QString id = SubSkills(fId, row);
            const QString sub = SubSkills(fKey, row);
            if (id.isEmpty() || sub.isEmpty())
                continue;
            if (vb::Val(id) == skill && vb::Val(sub) == item)
                takeSub(row);
        }
        break;
    }
    case 4:
    case 5:
    case 6: {
        const auto &table = kind == 4 ? LanguageSkills : kind == 5 ? WeaponSkills : SpellSkills;
        const qint64 last = kind == 4 ? NbLanguageSkills : kind == 5 ? NbWeaponSkills : NbSpellSkills;
        for (qint64 row = 1; row <= last && !matched; ++row)
            if (table(fId, row) == skill && table(fKey, row) == item)
                take(table(fRank, row), table(fItem, row), table(fSpecial, row));
        break;
    }
    default:
        break;
    }
    if (!matched)
        r = ranksBonus(raising, 0, progression);
    return vb::Check16((raising ? SkillCatTotal(cat) : TotalSkillCatBonus(cat)) + r + x1 + x2);
}
