#include "character/OneListChoices.h"

#include "character/Personnage.h"
#include "character/RulesRead.h"
#include "frame/ModGeneral.h"

#include <functional>

namespace onelist {

bool IsSpellListMode(qint32 mode) { return mode == 166 || mode == 888; }
bool IsWeaponCategoryMode(qint32 mode) { return mode >= 49 && mode <= 55; }
bool IsWeaponMode(qint32 mode) { return (mode >= 226 && mode <= 232) || mode == 999; }

namespace {

void collect(dao::Recordset &rs, const QString &textColumn, const QString &idColumn,
             std::vector<ports::ChooserItem> &out, const std::function<bool(qint32)> &keep = {})
{
    if (!rs.Eof())
        rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext()) {
        dao::DBEngine::instance().Idle();
        const qint32 id = rulesread::Id(rs, idColumn);
        if (keep && !keep(id))
            continue;
        out.push_back({rulesread::Text(rs, textColumn), id});
    }
    rs.Close();
}

// The realms whose open lists a realm of power may pick from.
QString realmCondition(qint32 realm)
{
    switch (realm) {
    case 3: case 9: return QStringLiteral("Realm_ID = 5 OR Realm_ID = 2");
    case 4: case 11: return QStringLiteral("Realm_ID = 2 OR Realm_ID = 7");
    case 6: case 10: return QStringLiteral("Realm_ID = 7 OR Realm_ID = 5");
    default: return {};
    }
}

QString weaponsQuery(qint32 skill)
{
    const QString col = rules::LangCol(QStringLiteral("Weapon"));
    return QStringLiteral("SELECT  Weapons.*, Weapons.") + col
           + QStringLiteral(" AS Weapon, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON "
                            "Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons Type].Skill_ID)= ")
           + QString::number(skill) + QStringLiteral(")) ORDER BY Weapons.") + col + QStringLiteral(";");
}

} // namespace

std::vector<ports::ChooserItem> Items(const Personnage &p, qint32 mode, qint32 weaponSkill)
{
    std::vector<ports::ChooserItem> items;
    const QString lang = rules::LangSuffix();

    if (IsSpellListMode(mode)) {
        const qint32 realm = p.Royaume_ID;
        QString where;
        if (realm == 2 || realm == 5 || realm == 7) {
            where = QStringLiteral("(Realm_ID=") + QString::number(realm) + QStringLiteral(")");
        } else {
            const QString pair = realmCondition(realm);
            if (pair.isEmpty())
                vb::Raise(vb::ErrSyntax);   // a realm without open lists of its own
            where = QStringLiteral("(") + pair + QStringLiteral(")");
        }
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT *, List") + lang + QStringLiteral(" AS List FROM List WHERE (")
                                 + where + QStringLiteral(" AND ([Classification_ ID]=1)) ORDER BY List") + lang
                                 + QStringLiteral(";"));
        collect(rs, QStringLiteral("List"), QStringLiteral("List_ID"), items);
    } else if (IsWeaponCategoryMode(mode)) {
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT Skill_Category_ID, Skill_Category") + lang
                                 + QStringLiteral(" as SkillCat From [Skill Category] Where (((Skill_Category_ID) >= 49 "
                                                  "And (Skill_Category_ID) <= 55)) ORDER BY Skill_Category")
                                 + lang + QStringLiteral(";"));
        collect(rs, QStringLiteral("SkillCat"), QStringLiteral("Skill_Category_ID"), items);
    } else if (mode == 999) {
        dao::Recordset allowed = rules::Open(QStringLiteral("SELECT * FROM [Culture weapons] WHERE Culture_ID= ")
                                      + QString::number(p.Culture_ID));
        dao::Recordset rs = rules::Open(weaponsQuery(weaponSkill));
        collect(rs, QStringLiteral("Weapon"), QStringLiteral("Weapon_ID"), items, [&](qint32 weapon) {
            ModGeneral::Criteria = QStringLiteral("Weapon_ID LIKE('") + QString::number(weapon) + QStringLiteral("')");
            allowed.FindFirst(ModGeneral::Criteria);
            return !allowed.NoMatch();
        });
        allowed.Close();
    } else if (IsWeaponMode(mode)) {
        dao::Recordset rs = rules::Open(weaponsQuery(mode));
        collect(rs, QStringLiteral("Weapon"), QStringLiteral("Weapon_ID"), items);
    } else {
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT * From Skills Where (((Skill_Category_ID) = ")
                                 + QString::number(mode) + QStringLiteral(")) ORDER BY Skills.Skill") + lang
                                 + QStringLiteral(";"));
        collect(rs, QStringLiteral("Skill") + lang, QStringLiteral("Skill_ID"), items);
    }
    return items;
}

} // namespace onelist
