// The skill tree of the skill development window: categories, skills,
// sub-skills, languages, weapons and spell lists, each coloured by what the
// character's culture and profession make of it, and the table of the skills
// the character already holds.
#include "skilldev/frmSkillDev.h"

#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeWidget>

using ModGeneral::Players;

namespace {

QString Num(qint64 v)
{
    return QString::number(v);
}

qint32 IntValue(const dao::Recordset &rs, const char *column)
{
    return vb::CLng(rs.Value(QLatin1String(column)));
}

bool Yes(const dao::Recordset &rs, const char *column)
{
    return IntValue(rs, column) != 0;
}

// The progress window stays up for the build only, whatever ends it.
struct ProgressWindow {
    ProgressWindow() { ports::ui().ProgressShow(Strings::Load(3502), Strings::Load(4001), 100); }
    ~ProgressWindow() { close(); }
    void close()
    {
        if (open) {
            open = false;
            ports::ui().ProgressClose();
        }
    }
    bool open = true;
};

} // namespace

std::array<QString, 4> &frmSkillDev::Row(int r)
{
    if (r < 0)
        vb::Raise(vb::ErrSubscript);
    if (static_cast<int>(SkillTable.size()) <= r)
        SkillTable.resize(static_cast<size_t>(r) + 1);
    return SkillTable[static_cast<size_t>(r)];
}

qint32 frmSkillDev::AppendSkillRow(QTreeWidgetItem *node, const QString &text, const QString &rank,
                                   const QString &added)
{
    SkillRowCount = vb::Add32(SkillRowCount, 1);
    Row(SkillRowCount) = {Num(IndexOf(node)), text, rank, added};
    return SkillRowCount;
}

void frmSkillDev::RefreshGrid()
{
    const QSignalBlocker block(grdSkill);
    grdSkill->setRowCount(SkillRowCount);
    for (int i = 1; i <= SkillRowCount; ++i) {
        const auto &r = Row(i);
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem *item = grdSkill->item(i - 1, c);
            if (!item) {
                item = new QTableWidgetItem;
                if (c > 0)
                    item->setTextAlignment(Qt::AlignCenter);
                grdSkill->setItem(i - 1, c, item);
            }
            item->setText(r[static_cast<size_t>(c + 1)]);
        }
    }
}

// ------------------------------------------------------------------ keys and images

void frmSkillDev::AppendImage(const QString &suffix)
{
    SetNodeImage(CurrentNode, NodeImage(CurrentNode) + suffix);
}

void frmSkillDev::DelColor()
{
    try {
        const QString image = NodeImage(CurrentNode);
        const int blank = image.lastIndexOf(QLatin1Char(' '));
        if (blank >= 0)
            SetNodeImage(CurrentNode, image.left(blank));
    } catch (...) {
        ReportCurrentException(Location(".DelColor"));
    }
}

qint32 frmSkillDev::DirSkill_ID(const QString &key)
{
    try {
        const int slash = key.indexOf(QLatin1Char('/'));
        return vb::CLng(slash < 0 ? key : key.mid(slash + 1));
    } catch (...) {
        ReportCurrentException(Location(".DirSkill_ID"));
        return 0;
    }
}

qint32 frmSkillDev::DirSubSkill_ID(const QString &key)
{
    if (key.isEmpty()) {
        ports::ui().MsgBox(QStringLiteral("???"), ports::OkOnly, ModGeneral::ProgramTitle());
        return 0;
    }
    try {
        const int slash = key.indexOf(QLatin1Char('/'));
        if (slash < 2)
            vb::Raise(vb::ErrInvalidCall);
        return vb::CLng(key.mid(2, slash - 2));
    } catch (...) {
        ReportCurrentException(Location(".DirSubSkill_ID"));
        return 0;
    }
}

QTreeWidgetItem *frmSkillDev::AddElementLeaf(const QString &text, const char *prefix, qint32 id, qint32 skill,
                                             const QString &nodeTag, qint16 kind)
{
    QTreeWidgetItem *node = AddLeaf(text, QLatin1String(prefix) + Num(id) + QLatin1Char('/') + Num(skill), nodeTag);
    Connus(node, id, skill, kind);
    return node;
}

void frmSkillDev::Connus(QTreeWidgetItem * /*node*/, qint32 id, qint32 skill, qint16 kind)
{
    if (kind < 1 || kind > 5 || !CurrentNode)
        return;
    // Only a leaf turns into a document; any other picture stays whatever the rows say.
    const QString image = NodeImage(CurrentNode);
    if (!image.startsWith(QLatin1String("Feuille")))
        return;
    // The kinds here count from the skills: 1 skill, 2 sub-skill, 3 language,
    // 4 weapon, 5 spell list. A sub-skill's row is known as soon as it exists.
    static constexpr qint16 kTable[] = {0, RankKind::Skill, RankKind::SubSkill, RankKind::LanguageSkill,
                                        RankKind::WeaponSkill, RankKind::SpellList};
    const qint16 table = kTable[kind];
    Personnage &p = Record();
    const qint32 row = table == RankKind::Skill ? p.RankRow(table, id) : p.RankRow(table, skill, id);
    const bool known = row >= 0 && (table == RankKind::SubSkill || vb::Val(p.RankCell(table, 1, row)) > 0);
    if (known)
        SetNodeImage(CurrentNode, QStringLiteral("Document") + image.mid(7));
}

void frmSkillDev::TriTableauSkill(int lo, int hi)
{
    if (lo < 1 || hi < lo || Row(1)[0].isEmpty())
        return;
    auto value = [this](int r) { return vb::Val(Row(r)[2]); };
    int i = lo;
    int j = hi;
    const double pivot = value((lo + hi) / 2);
    do {
        while (value(i) > pivot)
            ++i;
        while (value(j) < pivot)
            --j;
        if (i <= j) {
            std::swap(Row(i), Row(j));
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j)
        TriTableauSkill(lo, j);
    if (i < hi)
        TriTableauSkill(i, hi);
}

// ------------------------------------------------------------------ the build

void frmSkillDev::SpecialColour(dao::Recordset &rs, qint32 skillId, bool withGrey)
{
    if (!rules::Find(rs, QStringLiteral("Skill_ID"), skillId))
        return;
    const qint32 kind = IntValue(rs, "SpecialSkill_ID");
    // A skill's listing always decides its colour, even to none; a weapon
    // keeps its culture grey unless the listing gives it a colour of its own.
    if (withGrey || (kind >= 1 && kind <= 3))
        DelColor();
    switch (kind) {
    case 1: AppendImage(QStringLiteral(" vert")); break;
    case 2: AppendImage(QStringLiteral(" bleu")); break;
    case 3: AppendImage(QStringLiteral(" rouge")); break;
    case 4:
        if (withGrey)
            AppendImage(QStringLiteral(" gris"));
        break;
    default: break;
    }
}

void frmSkillDev::LoadSkillData()
{
    try {
        Personnage &p = Record();
        SkillRowCount = 0;
        SkillTable.assign(1, {});
        ProgressWindow progress;
        const bool language = LanguageMode();
        const QString categoryName = rules::LangCol(QStringLiteral("Skill_Category"));
        const QString skillName = rules::LangCol(QStringLiteral("Skill"));

        RsSkillCategory = rules::Open(QStringLiteral("SELECT * FROM [Skill Category] ORDER BY ") + categoryName);
        bool more = !RsSkillCategory.Eof();
        if (language && more)
            more = rules::Find(RsSkillCategory, QStringLiteral("Skill_Category_ID"), 14);
        QTreeWidgetItem *languageCategory = nullptr;
        while (more && !RsSkillCategory.Eof()) {
            dao::DBEngine_().Idle();
            ports::ui().ProgressValue(static_cast<int>(RsSkillCategory.PercentPosition()));
            const qint32 category = IntValue(RsSkillCategory, "Skill_Category_ID");
            QTreeWidgetItem *node = AddNode(0);
            CurrentNode = node;
            SetNodeKey(node, QStringLiteral("SC") + Num(category));
            node->setText(0, RsSkillCategory.Value(categoryName).toString());
            SetNodeImage(node, QStringLiteral("Fichier fermer"));
            SetNodeTag(node, QStringLiteral("Skill Category"));
            const int categoryIndex = IndexOf(node);
            ParentNodeIndex = categoryIndex;
            if (language)
                languageCategory = node;

            RsSkills = rules::Open(QStringLiteral("SELECT * FROM Skills WHERE Skill_Category_ID = ") + Num(category)
                                   + (language ? QStringLiteral(" ORDER BY Skill_ID")
                                               : QStringLiteral(" ORDER BY ") + skillName + QLatin1Char(';')));
            bool skills = !RsSkills.Eof();
            if (language && skills)
                skills = rules::Find(RsSkills, QStringLiteral("Skill_ID"), 32);
            while (skills && !RsSkills.Eof()) {
                dao::DBEngine_().Idle();
                const qint32 skillId = IntValue(RsSkills, "Skill_ID");
                // The category decides the branch for every one of its skills.
                if (category >= 49 && category <= 55)
                    WeaponBranch(skillId, Yes(RsSkills, "Restricted"));
                else if (category >= 34 && category <= 41)
                    SpellBranch(category, skillId);
                else
                    PlainSkillBranch(categoryIndex);
                if (language && skillId == 33)
                    break;
                RsSkills.MoveNext();
            }
            ParentNodeIndex = categoryIndex;
            QTreeWidgetItem *categoryNode = Node(categoryIndex);
            if (categoryNode && categoryNode->childCount() < 1) {
                RemoveNode(categoryNode);
                languageCategory = nullptr;
            }
            RsSkillCategory.MoveNext();
            if (language)
                break;
        }
        progress.close();

        if (language) {
            // The language category and its two skills stand open, the
            // category as opening it by hand leaves it (its skills by name).
            if (languageCategory) {
                {
                    const QSignalBlocker block(trvSkillCategorie);
                    languageCategory->setExpanded(true);
                    for (int i = 0; i < languageCategory->childCount(); ++i)
                        languageCategory->child(i)->setExpanded(true);
                }
                trvSkillCategorie_Expand(languageCategory);
            }
            setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(5020) + QLatin1Char(')'));
            for (QCheckBox *box : chkSkillCategory)
                box->hide();
        } else {
            TriTableauSkill(1, SkillRowCount);
            RefreshGrid();
        }
        if (QTreeWidgetItem *first = Node(1))
            trvSkillCategorie_NodeClick(first);
    } catch (...) {
        ReportCurrentException(Location(".LoadSkillData"));
    }
}

void frmSkillDev::WeaponBranch(qint32 skillId, bool restricted)
{
    Personnage &p = Record();
    const QString weaponName = rules::LangCol(QStringLiteral("Weapon"));
    RsWeapons = rules::Open(QStringLiteral("SELECT  Weapons.*, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons "
                                           "Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons "
                                           "Type].Skill_ID)= ")
                            + Num(skillId) + QStringLiteral("));"));
    for (; !RsWeapons.Eof(); RsWeapons.MoveNext()) {
        dao::DBEngine_().Idle();
        const qint32 weapon = IntValue(RsWeapons, "Weapon_ID");
        QTreeWidgetItem *node = AddElementLeaf(RsWeapons.Value(weaponName).toString(), "SW", weapon, skillId,
                                               QStringLiteral("Weapons"), 4);

        const qint32 s = DirSkill_ID(NodeKey(node));
        const qint32 w = DirSubSkill_ID(NodeKey(node));
        const qint32 heldRow = p.RankRow(RankKind::WeaponSkill, s, w);

        if (rules::Find(RsCultureWeapons, QStringLiteral("Weapon_ID"), weapon))
            AppendImage(QStringLiteral(" gris"));
        if (restricted) {
            DelColor();
            AppendImage(QStringLiteral(" rouge"));
        }
        SpecialColour(RsSpecialSkillsCulture, skillId, false);
        if (RankStage() && !NodeImage(node).endsWith(QLatin1String("gris"))) {
            // Free ranks go to the culture's weapons only. The held-skill row is
            // written only for nodes that stay, so no row names a node index
            // that the next node takes over.
            RemoveNode(node);
            continue;
        }
        SpecialColour(RsSpecialSkillsProfession, skillId, false);
        if (heldRow >= 0)
            AppendSkillRow(node, NodeText(node), p.DirWeaponSkills(1, heldRow),
                           Record().DirRankDevelopment(RankKind::WeaponSkill, s, w, 0).toString());
    }
}

void frmSkillDev::SpellBranch(int category, qint32 skillId)
{
    Personnage &p = Record();
    const qint32 r = p.Royaume_ID;
    const QString R = Num(r);
    const QString P = Num(p.Profession_ID);
    QString own, ownJoin, other;
    const bool single = r == 2 || r == 5 || r == 7;
    if (!single) {
        if (r == 3 || r == 9) {
            own = QStringLiteral("Realm_ID = 5 OR Realm_ID = 2");
            ownJoin = QStringLiteral("List.Realm_ID = 5 OR List.Realm_ID = 2");
            other = QStringLiteral("Realm_ID = 7");
        } else if (r == 4 || r == 11) {
            own = QStringLiteral("Realm_ID = 2 OR Realm_ID = 7");
            ownJoin = QStringLiteral("List.Realm_ID = 2 OR List.Realm_ID = 7");
            other = QStringLiteral("Realm_ID = 5");
        } else if (r == 6 || r == 10) {
            own = QStringLiteral("Realm_ID = 7 OR Realm_ID = 5");
            ownJoin = QStringLiteral("List.Realm_ID = 7 OR List.Realm_ID = 5");
            other = QStringLiteral("Realm_ID = 2");
        }
    }
    const bool realmKnown = single || !own.isEmpty();

    QString sql;
    const QString head = QStringLiteral("SELECT * FROM List WHERE ((");
    const QString joinHead = QStringLiteral("SELECT List.*, [Base List].Profession_ID, List.Realm_ID FROM List INNER JOIN "
                                            "[Base List] ON List.List_ID = [Base List].List_ID WHERE ((([Base "
                                            "List].Profession_ID)<>");
    switch (category) {
    case 34: sql = QStringLiteral("SELECT * FROM List WHERE ((Realm_ID=1) AND ([Classification_ ID]=1));"); break;
    case 35:
    case 36:
    case 37: {
        const QString cls = Num(38 - category);   // 35: base (3), 36: closed (2), 37: open (1)
        sql = single ? head + QStringLiteral("Realm_ID<>") + R + QStringLiteral(") AND (Realm_ID<>1) AND ([Classification_ ID]=")
                           + cls + QStringLiteral("));")
                     : head + other + QStringLiteral(") AND ([Classification_ ID]=") + cls + QStringLiteral("));");
        break;
    }
    case 38:
    case 39: {
        const QString cls = Num(40 - category);
        sql = single ? head + QStringLiteral("Realm_ID=") + R + QStringLiteral(") AND ([Classification_ ID]=") + cls
                           + QStringLiteral("));")
                     : head + own + QStringLiteral(") AND ([Classification_ ID]=") + cls + QStringLiteral("));");
        break;
    }
    case 40:
        sql = single ? joinHead + P + QStringLiteral(") AND ((List.Realm_ID)=") + R + QStringLiteral("));")
                     : joinHead + P + QStringLiteral(") AND (") + ownJoin + QStringLiteral("));");
        break;
    default:
        sql = QStringLiteral("SELECT List.*, [Base List].Profession_ID FROM List INNER JOIN [Base List] ON List.List_ID "
                             "= [Base List].List_ID WHERE ((([Base List].Profession_ID)=")
            + P + QStringLiteral("));");
        break;
    }

    qint32 cultureKind = -1;
    if (rules::Find(RsSpecialSkillsCulture, QStringLiteral("Skill_ID"), skillId))
        cultureKind = IntValue(RsSpecialSkillsCulture, "SpecialSkill_ID");
    if (RankStage() && !(category == 39 && cultureKind == 4))
        return;
    // A character without a realm of its own (none chosen yet) has no lists of
    // other or own realms to show.
    if (!realmKnown && category >= 35 && category <= 40)
        return;

    const qint32 listSkill = category + 127;
    const QString listName = rules::LangCol(QStringLiteral("List"));
    RsLists = rules::Open(sql);
    for (; !RsLists.Eof(); RsLists.MoveNext()) {
        dao::DBEngine_().Idle();
        const qint32 list = IntValue(RsLists, "List_ID");
        const QString key = QStringLiteral("SP") + Num(list) + QLatin1Char('/') + Num(listSkill);
        if (NodeByKey(key))
            continue;   // a list that several other professions share shows once
        QTreeWidgetItem *node = AddLeaf(RsLists.Value(listName).toString(), key, QStringLiteral("Spells"));
        switch (cultureKind) {
        case 1: DelColor(); AppendImage(QStringLiteral(" vert")); break;
        case 2: DelColor(); AppendImage(QStringLiteral(" bleu")); break;
        case 3: DelColor(); AppendImage(QStringLiteral(" rouge")); break;
        case 4: AppendImage(QStringLiteral(" gris")); break;
        default: break;
        }
        Connus(node, list, listSkill, 5);
        const qint32 s = DirSkill_ID(key);
        const qint32 l = DirSubSkill_ID(key);
        if (const qint32 row = p.RankRow(RankKind::SpellList, s, l); row >= 0)
            AppendSkillRow(node, NodeText(node), p.DirSpellSkills(1, row),
                           p.DirRankDevelopment(RankKind::SpellList, s, l, 0).toString());
    }
    RsLists.Close();
}

void frmSkillDev::PlainSkillBranch(int categoryIndex)
{
    Personnage &p = Record();
    const qint32 skillId = IntValue(RsSkills, "Skill_ID");
    const bool subdivided = Yes(RsSkills, "Subdivision");
    QTreeWidgetItem *node = AddLeaf(RsSkills.Value(rules::LangCol(QStringLiteral("Skill"))).toString(),
                                    QStringLiteral("SK0/") + Num(skillId), QStringLiteral("Skills"));
    Connus(node, skillId, 0, 1);
    if (subdivided)
        SetNodeImage(node, QStringLiteral("Rune"));
    if (Yes(RsSkills, "Restricted"))
        AppendImage(QStringLiteral(" rouge"));
    SpecialColour(RsSpecialSkillsCulture, skillId, true);
    const bool languageSkill = skillId == 32 || skillId == 33;
    if (RankStage() && !NodeImage(node).endsWith(QLatin1String("gris")) && !languageSkill) {
        RemoveNode(node);
        return;
    }
    SpecialColour(RsSpecialSkillsProfession, skillId, true);

    if (const qint32 row = p.RankRow(RankKind::Skill, skillId); row >= 0)
        AppendSkillRow(node, NodeText(node), Num(p.DirSkills(1, row)),
                       p.DirRankDevelopment(RankKind::Skill, skillId, 0, 0).toString());

    const int skillIndex = IndexOf(node);
    if (subdivided) {
        ParentNodeIndex = skillIndex;
        for (qint32 k = 1; k <= p.NbSubSkill; ++k) {
            if (vb::Val(p.DirSubSkills(0, k)) != skillId)
                continue;
            const QString number = p.DirSubSkills(4, k);
            QTreeWidgetItem *sub = AddLeaf(p.DirSubSkills(5, k),
                                           QStringLiteral("SS") + number + QLatin1Char('/') + p.DirSubSkills(0, k),
                                           QStringLiteral("SubSkill"));
            Connus(sub, static_cast<qint32>(vb::Val(number)), skillId, 2);
            AppendSkillRow(sub, NodeText(sub) + QStringLiteral(" (") + NodeText(node) + QLatin1Char(')'),
                           p.DirSubSkills(1, k),
                           p.DirRankDevelopment(RankKind::SubSkill, skillId, static_cast<qint32>(vb::Val(number)), 0)
                               .toString());
        }
        ParentNodeIndex = categoryIndex;
    }

    if (languageSkill) {
        ParentNodeIndex = skillIndex;
        const QString languageName = rules::LangCol(QStringLiteral("Language"));
        const bool onlyCulture = RankStage() || LanguageMode();
        for (; !RsLanguage.Eof(); RsLanguage.MoveNext()) {
            dao::DBEngine_().Idle();
            const qint32 language = IntValue(RsLanguage, "Language_ID");
            QTreeWidgetItem *lang = AddElementLeaf(RsLanguage.Value(languageName).toString(), "SL", language,
                                                   skillId, QStringLiteral("Language"), 3);
            ModGeneral::Criteria = rules::LikeCriteria(QStringLiteral("Culture_ID"), p.Culture_ID) + QStringLiteral(" AND ")
                + rules::LikeCriteria(QStringLiteral("Language_ID"), language);
            RsCultureLanguages.FindFirst(ModGeneral::Criteria);
            dao::DBEngine_().Idle();
            if (!RsCultureLanguages.NoMatch())
                AppendImage(QStringLiteral(" gris"));
            if (onlyCulture && !NodeImage(lang).endsWith(QLatin1String("gris")))
                RemoveNode(lang);
        }
        if (RsLanguage.RecordCount() > 0)
            RsLanguage.MoveFirst();
        ParentNodeIndex = categoryIndex;
    }
}
