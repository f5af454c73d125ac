// Moving a stage's purchases into the rank tables, and the background bonuses,
// talents and flaws.
#include "character/Personnage.h"
#include "character/Limits.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"

#include <cmath>

namespace {

// Ranks past the range a file may hold would be saved into a file that no
// longer opens: the stage stops there as on any overflow.
qint32 checkedRank(qint64 rank)
{
    if (!character::limits::kRank.contains(vb::Check32(rank)))
        vb::Raise(vb::ErrOverflow);
    return qint32(rank);
}

QString likeId(qint32 id)
{
    return QStringLiteral("Skill_ID LIKE('") + QString::number(id) + QStringLiteral("')");
}

// The status code of a skill for the character's culture or profession.
double factorOfCode(qint32 code, double factor)
{
    switch (code) {
    case 1: return 3;    // occupational
    case 2: return 2;    // everyman
    case 3: return 0.5;  // restricted
    default: return factor;
    }
}

} // namespace

void Personnage::OccupationalEverymanRestrictedSkill(qint32 row)
{
    using namespace rulesread;
    double factor = 1;
    const qint32 skillId = DevSkills(dId, row);
    // Only the one skill is read: the whole table for every purchase would make
    // the end of a long stage slow.
    dao::Recordset skills = rules::Open(QStringLiteral("SELECT * FROM Skills WHERE Skill_ID= ") + QString::number(skillId));
    dao::Recordset culture = rules::Open(QStringLiteral("SELECT * FROM [Special Skills Culture] WHERE Culture_ID= ")
                                  + QString::number(Culture_ID));
    dao::Recordset profession = rules::Open(
        QStringLiteral("SELECT * FROM [Special Skills Profession & Bonus] WHERE Profession_ID= ")
        + QString::number(Profession_ID));

    ModGeneral::Criteria = likeId(skillId);
    skills.FindFirst(ModGeneral::Criteria);
    if (!skills.NoMatch() && Flag(skills, QStringLiteral("Restricted")))
        factor = 0.5;
    // The profession is looked at last, so its code wins over the culture's.
    ModGeneral::Criteria = likeId(skillId);
    culture.FindFirst(ModGeneral::Criteria);
    if (!culture.NoMatch())
        factor = factorOfCode(Id(culture, QStringLiteral("SpecialSkill_ID")), factor);
    ModGeneral::Criteria = likeId(skillId);
    profession.FindFirst(ModGeneral::Criteria);
    if (!profession.NoMatch())
        factor = factorOfCode(Id(profession, QStringLiteral("SpecialSkill_ID")), factor);

    DevSkills(dRanks, row) = vb::CLng(static_cast<double>(DevSkills(dRanks, row)) * factor);
    skills.Close();
    culture.Close();
    profession.Close();
}

void Personnage::moveDevelopmentRow(qint32 row)
{
    const qint32 kind = DevSkills(dKind, row);
    const qint32 id = DevSkills(dId, row);
    const qint32 key = DevSkills(dKey, row);
    const qint32 ranks = DevSkills(dRanks, row);

    switch (kind) {
    case RankKind::SubSkill:
        // Sub-skills are filled from row 1 without gaps and exist before ranks
        // can be bought for them: a free row means the sub-skill is missing,
        // and a row without a name would later be taken for a free one.
        for (qint32 r = 1; r <= NbSubSkill; ++r) {
            const double rowSkill = vb::Val(SubSkills(fId, r));
            if (rowSkill < 1)
                break;
            if (rowSkill == id && vb::Val(SubSkills(fKey, r)) == key) {
                SubSkills(fRank, r) = QString::number(checkedRank(qint64(vb::CLng(vb::Val(SubSkills(fRank, r)))) + ranks));
                return;
            }
        }
        vb::Raise(vb::ErrSubscript);
    case RankKind::SkillCategory:
    case RankKind::Skill:
    case RankKind::LanguageSkill:
    case RankKind::WeaponSkill:
    case RankKind::SpellList: {
        const RankTable table = rankTable(static_cast<qint16>(kind));
        bool added = false;
        const qint32 r = rowFor(table, id, key, &added);
        table.cells(fRank, r) = checkedRank(added ? qint64(ranks) : qint64(table.cells(fRank, r)) + ranks);
        return;
    }
    default:
        return;
    }
}

bool Personnage::TranferRank()
{
    // What goes back when any part fails, so that a stage moves as a whole or
    // not at all.
    const struct {
        character::GrowTable<qint32> skillCat, skill;
        character::GrowTable<QString> subSkills;
        character::GrowTable<qint32> languages, weapons, spells, dev;
        qint32 nbSkillCat, nbSkill, nbSubSkill, nbLanguage, nbWeapon, nbSpell, nbDev;
    } before{SkillCat, Skill, SubSkills, LanguageSkills, WeaponSkills, SpellSkills, DevSkills,
                              NbSkillCat, NbSkill, NbSubSkill, NbLanguageSkills, NbWeaponSkills, NbSpellSkills,
                              NbDevSkills};
    QString location = QStringLiteral("TranferRank");
    try {
        for (qint32 i = 0; i <= NbDevSkills; ++i) {
            const qint32 kind = DevSkills(dKind, i);
            if (kind < RankKind::SkillCategory || kind > RankKind::SpellList)
                continue;
            // Categories keep their count; every skill is scaled by its status.
            if (kind != RankKind::SkillCategory) {
                location = QStringLiteral("OccupationalEverymanRestrictedSkill");
                OccupationalEverymanRestrictedSkill(i);
                location = QStringLiteral("TranferRank");
            }
            moveDevelopmentRow(i);
        }
        DevSkills.clear();
        DevSkills.redim(10);
        NbDevSkills = 10;
        return true;
    } catch (...) {
        // Half a stage in the tables and the whole list still waiting would
        // give the moved rows twice at the next end of stage.
        SkillCat = before.skillCat;
        Skill = before.skill;
        SubSkills = before.subSkills;
        LanguageSkills = before.languages;
        WeaponSkills = before.weapons;
        SpellSkills = before.spells;
        DevSkills = before.dev;
        NbSkillCat = before.nbSkillCat;
        NbSkill = before.nbSkill;
        NbSubSkill = before.nbSubSkill;
        NbLanguageSkills = before.nbLanguage;
        NbWeaponSkills = before.nbWeapon;
        NbSpellSkills = before.nbSpell;
        NbDevSkills = before.nbDev;
        ReportCurrentException(location);
        return false;
    }
}

qint32 Personnage::rowOf(bool category, qint32 id, bool *added)
{
    return rowFor(rankTable(category ? RankKind::SkillCategory : RankKind::Skill), id, 0, added);
}

void Personnage::addSpecial2(bool category, qint32 id, qint32 amount)
{
    character::GrowTable<qint32> &table = category ? SkillCat : Skill;
    bool added = false;
    const qint32 r = rowOf(category, id, &added);
    // The skill window hands a bonus out as a 16-bit figure, and a file holding
    // more would not open again: past that the addition is an overflow.
    table(fSpecial2, r) = vb::Add16(added ? 0 : vb::Check16(table(fSpecial2, r)), vb::Check16(amount));
}

namespace {
// The fixed background bonus: +5 on a category (kind 0), +10 on a skill (kind 1).
qint32 backgroundBonus(qint16 kind)
{
    return kind == 0 ? 5 : kind == 1 ? 10 : 0;
}
} // namespace

void Personnage::TransferBonusSkill(qint32 id, qint16 kind)
{
    // No handler here: the background dialog that calls it reports a failure.
    if (kind == 0)
        addSpecial2(true, id, backgroundBonus(kind));
    else if (kind == 1)
        addSpecial2(false, id, backgroundBonus(kind));
}

qint64 Personnage::SpecialBonusAfter(qint32 id, qint16 kind, qint32 times)
{
    const qint16 table = kind == 0 ? RankKind::SkillCategory : RankKind::Skill;
    const qint32 r = RankRow(table, id);
    const qint64 now = r < 0 ? 0 : rankTable(table).cells(fSpecial2, r);
    return now + qint64(times) * backgroundBonus(kind);
}

character::limits::Range<qint32> Personnage::SpecialBonusRoom(qint32 id, qint16 kind)
{
    const qint16 table = kind == 0 ? RankKind::SkillCategory : RankKind::Skill;
    if (const qint32 r = RankRow(table, id); r >= 0)
        return RankBonusRoom(table, r, fSpecial2);
    // No ranks and no bonus count as no row does: the room of a row made so.
    Personnage trial = *this;
    bool added = false;
    return trial.RankBonusRoom(table, trial.rowOf(kind == 0, id, &added), fSpecial2);
}

void Personnage::applyBonusRows(const QString &table, const QString &idColumn, qint32 id)
{
    using namespace rulesread;
    dao::Recordset rs = rules::Open(QStringLiteral("SELECT * From [") + table + QStringLiteral("] WHERE ((") + idColumn
                             + QStringLiteral("=") + QString::number(id) + QStringLiteral("));"));
    if (!rs.Eof())
        rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext()) {
        const qint32 cat = Id(rs, QStringLiteral("Skill_Category_ID"));
        const qint32 skill = Id(rs, QStringLiteral("Skill_ID"));
        const qint32 stat = Id(rs, QStringLiteral("Stat_ID"));
        if (cat > 0) {
            addSpecial2(true, cat, Need(rs, QStringLiteral("Bonus")));
        } else if (skill > 0) {
            addSpecial2(false, skill, Need(rs, QStringLiteral("Bonus")));
        } else if (stat > 0) {
            qint16 &special = Stats(2, stat - 1);
            special = vb::Add16(special, Need(rs, QStringLiteral("Bonus")));
        }
    }
    rs.Close();
}

void Personnage::TransferTalent(qint32 talentId)
{
    try {
        applyBonusRows(QStringLiteral("Talents Bonus"), QStringLiteral("Talents_ID"), talentId);
    } catch (...) {
        ReportCurrentException(QStringLiteral("TranferTalent"));
    }
}

void Personnage::TransferFlaw(qint32 flawId)
{
    try {
        applyBonusRows(QStringLiteral("Flaws Bonus"), QStringLiteral("Flaws_ID"), flawId);
    } catch (...) {
        ReportCurrentException(QStringLiteral("TranferFlaw"));
    }
}
