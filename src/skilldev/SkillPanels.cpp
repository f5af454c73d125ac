// The two detail panels of the skill development window and the purchase of
// ranks through their rank boxes.
#include "skilldev/frmSkillDev.h"

#include "character/Personnage.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

using ModGeneral::ProgramTitle;

namespace {

qint16 RankKindOfTag(const QString &tag)
{
    if (tag == QLatin1String("Skills"))
        return RankKind::Skill;
    if (tag == QLatin1String("SubSkill"))
        return RankKind::SubSkill;
    if (tag == QLatin1String("Weapons"))
        return RankKind::WeaponSkill;
    if (tag == QLatin1String("Spells"))
        return RankKind::SpellList;
    if (tag == QLatin1String("Language"))
        return RankKind::LanguageSkill;
    return 0;
}

// The sum of the four boxes before a total, read as whole numbers; none when
// one of them is empty, a sum that did not fit. Only the total is a 16-bit
// figure: an item of 32767 before a special of -32000 is no overflow when the
// total fits, as the record's own total finds.
std::optional<qint64> BoxSum(const std::array<QLineEdit *, 5> &boxes)
{
    qint64 sum = 0;
    for (int k = 0; k < 4; ++k) {
        const QString text = boxes[static_cast<size_t>(k)]->text();
        if (text.isEmpty())
            return std::nullopt;
        sum += vb::CInt(text);
    }
    return sum;
}

// A sum that does not fit in 16 bits is the panel's overflow, said once, and
// leaves its box empty: never a wrapped figure, nor the figure of the node
// shown before. The panel goes on, so that the rest of it, the ticks of the
// ranks the stage holds above all, is the shown node's own.
void ShowSum(QLineEdit *box, std::optional<qint64> sum, const QString &location)
{
    box->clear();
    if (!sum)
        return;
    try {
        box->setText(QString::number(vb::Check16(*sum)));
    } catch (...) {
        ReportCurrentException(location);
    }
}

qint16 ShownNumber(const QLabel *label)
{
    return vb::CInt(vb::Val(label->text()));
}

} // namespace

void frmSkillDev::BoxesFromDevelopment(std::array<QCheckBox *, 3> &boxes, qint32 n)
{
    for (int k = 0; k < 3; ++k)
        boxes[static_cast<size_t>(k)]->setChecked(n >= 1 && n <= 3 && k < n);
}

// ------------------------------------------------------------------ category panel

void frmSkillDev::DevCostSkillCat_Change()
{
    const QString c = DevCostSkillCat->text();
    for (int k = 0; k < 3; ++k) {
        for (QCheckBox *box : {chkSkillCategory[k], chkSkill[k]}) {
            box->setChecked(false);
            box->setEnabled(false);
        }
    }
    if (c.isEmpty())
        return;
    // Up to three parts; anything past a third "/" is not a cost.
    const QStringList parts = c.split(QLatin1Char('/'));
    for (int k = 0; k < 3 && k < parts.size(); ++k) {
        for (QCheckBox *box : {chkSkillCategory[k], chkSkill[k]}) {
            box->setEnabled(true);
            ::setTag(box, parts[k]);
        }
    }
}

QString frmSkillDev::CategoryCost(qint32 category)
{
    // A weapon category costs what the profession pays for the position the
    // character gave it among the weapon categories. A category the profession
    // does not price has no cost, hence no rank boxes.
    Personnage &p = Record();
    qint32 costCategory = category;
    if (category >= 49 && category <= 55) {
        int k = 0;
        while (k <= 6 && p.DirCategorieWeapon(static_cast<qint16>(k)) != category)
            ++k;
        costCategory = 49 + k;
    }
    if (rules::Find(RsCategoryCost, QStringLiteral("Skill_Category_ID"), costCategory))
        return RsCategoryCost.Value(QStringLiteral("Cost")).toString();
    return QString();
}

QTreeWidgetItem *frmSkillDev::CategoryNodeOf(QTreeWidgetItem *node)
{
    QTreeWidgetItem *categoryNode = node ? node->parent() : nullptr;
    const QString nodeTag = NodeTag(node);
    if (categoryNode && (nodeTag == QLatin1String("SubSkill") || nodeTag == QLatin1String("Language")))
        categoryNode = categoryNode->parent();
    return categoryNode;
}

qint16 frmSkillDev::ListedCost()
{
    // Each listed rank is priced as its box was when it was ticked: one free
    // rank in a rank stage, otherwise its part of its category's cost text.
    Personnage &p = Record();
    qint64 total = 0;
    for (qint32 i = 0; i <= p.NbDevSkills; ++i) {
        const qint32 kind = p.DirDevelopment(Personnage::dKind, i);
        const qint32 ranks = std::min(p.DirDevelopment(Personnage::dRanks, i), 3);
        if (kind < RankKind::SkillCategory || kind > RankKind::SpellList || ranks < 1)
            continue;
        if (RankStage()) {
            total += ranks;
            continue;
        }
        const QString id = QString::number(p.DirDevelopment(Personnage::dId, i));
        QTreeWidgetItem *categoryNode = kind == RankKind::SkillCategory
            ? NodeByKey(KeyPrefix(static_cast<qint16>(kind)) + id)
            : CategoryNodeOf(NodeByKey(KeyPrefix(static_cast<qint16>(kind))
                                       + QString::number(p.DirDevelopment(Personnage::dKey, i)) + QLatin1Char('/') + id));
        const QString key = NodeKey(categoryNode);
        if (!key.startsWith(QLatin1String("SC")))
            continue;
        const QStringList parts = CategoryCost(static_cast<qint32>(vb::Val(key.mid(2)))).split(QLatin1Char('/'));
        for (int k = 0; k < ranks && k < parts.size(); ++k)
            total += static_cast<qint64>(vb::Val(parts[k]));
    }
    if (!tag(labTraining).isEmpty())
        total += static_cast<qint64>(vb::Val(labTrainingCost->text()));
    return vb::Check16(total);
}

void frmSkillDev::ShowStagePoints()
{
    try {
        labPD->setText(QString::number(vb::Sub16(Record().DevelopmentPoint(), ListedCost())));
    } catch (...) {
        ReportCurrentException(Location(".labPD"));
    }
}

void frmSkillDev::AfficheSkillCategory(QTreeWidgetItem *node)
{
    const OneErrorBox once;   // one action, one box
    try {
        Personnage &p = Record();
        const QString key = NodeKey(node);
        labSkillCat->setText(NodeText(node));
        ::setTag(labSkillCat, key);
        const bool isCategory = key.startsWith(QLatin1String("SC"));
        const qint32 category = isCategory ? static_cast<qint32>(vb::Val(key.mid(2))) : 0;

        for (QWidget *w : std::initializer_list<QWidget *>{labSkill, labRankSkill, labProgressionSkill, labDevlopment[1],
                                                           labDevlopment[2], labDevlopment[12], btnSubSkill})
            w->hide();
        for (int k = 0; k < 5; ++k) {
            labBonusSkill[static_cast<size_t>(k)]->hide();
            labDevlopment[static_cast<size_t>(k + 15)]->hide();
        }
        for (QCheckBox *box : chkSkill)
            box->hide();

        DevCostSkillCat->setText(CategoryCost(category));
        DevCostSkillCat_Change();

        const bool categoryRow = RsSkillCategory.isOpen()
            && rules::Find(RsSkillCategory, QStringLiteral("Skill_Category_ID"), category);
        const bool realmRow = rules::Find(RsRealms, QStringLiteral("Realm_ID"), p.Royaume_ID);
        const bool useRealm = key == QLatin1String("SC28");
        // The statistics' part of the category's total, checked once summed.
        const qint64 statBonus = categoryRow ? p.CategoryStatSum(category) : 0;
        QString abbreviations;
        for (int j = 1; j <= 3; ++j) {
            if (useRealm ? !realmRow : !categoryRow)
                break;
            const dao::Recordset &source = useRealm ? RsRealms : RsSkillCategory;
            const qint32 stat = vb::CLng(source.Value(QStringLiteral("Stat_ID%1").arg(j)));
            if (stat <= 0 || !rules::Find(RsStat, QStringLiteral("Stat_ID"), stat))
                continue;
            const QString abbreviation = RsStat.Value(rules::LangCol(QStringLiteral("Abr"))).toString();
            if (!abbreviation.isEmpty())
                abbreviations += abbreviation + QLatin1Char('/');
        }
        if (abbreviations.size() > 1)
            abbreviations.chop(1);
        labStatSkillCat->setText(abbreviations);
        ShowSum(labBonusSkillCat[1], statBonus, Location(".AfficheSkillCategory"));

        const qint32 categoryProgression = categoryRow ? vb::CLng(RsSkillCategory.Value(QStringLiteral("Skill_Category_Bonus_ID"))) : 0;
        const qint32 skillProgression = categoryRow ? vb::CLng(RsSkillCategory.Value(QStringLiteral("Skill_Bonus_ID"))) : 0;
        const bool progressionRow = rules::Find(RsSkillBonus, QStringLiteral("Skill_Bonus_ID"), categoryProgression);
        labProgressionSkillCat->setText(progressionRow ? RsSkillBonus.Value(QStringLiteral("Skill_Bonus")).toString() : QString());
        const bool noRanks = progressionRow && vb::CLng(RsSkillBonus.Value(QStringLiteral("Skill_Bonus_ID"))) == 5;
        labNewRanksSkillCat->setVisible(!noRanks);
        for (QCheckBox *box : chkSkillCategory)
            box->setVisible(!noRanks);

        // A race the rules do not know leaves body development the category's
        // own progression, as the skill's total bonus counts it.
        if (key == QLatin1String("SC12") && rules::Find(RsRaceAbilities, QStringLiteral("Race_ID"), p.Race_ID)) {
            labProgressionSkillCat->setText(QStringLiteral("0•0•0•0•0"));
            labProgressionSkill->setText(RsRaceAbilities.Value(QStringLiteral("Body")).toString());
        } else {
            if (key == QLatin1String("SC12"))
                labProgressionSkillCat->setText(QStringLiteral("0•0•0•0•0"));
            const bool found = rules::Find(RsSkillBonus, QStringLiteral("Skill_Bonus_ID"), skillProgression);
            labProgressionSkill->setText(found ? RsSkillBonus.Value(QStringLiteral("Skill_Bonus")).toString() : QString());
        }

        labRankSkillCat->setText(QStringLiteral("0"));
        labBonusSkillCat[2]->setText(QStringLiteral("0"));
        labBonusSkillCat[3]->setText(QStringLiteral("0"));
        bool matched = false;
        for (qint32 i = 0; isCategory && category >= 1 && i <= p.NbSkillCat; ++i) {
            if (p.DirSkillsCat(0, i) != category)
                continue;
            matched = true;
            labRankSkillCat->setText(QString::number(p.DirSkillsCat(1, i)));
            labBonusSkillCat[0]->setText(
                QString::number(p.BonusRankProgression(ShownNumber(labRankSkillCat), labProgressionSkillCat->text())));
            labBonusSkillCat[2]->setText(QString::number(p.DirSkillsCat(2, i)));
            labBonusSkillCat[3]->setText(QString::number(p.DirSkillsCat(3, i)));
        }
        if (!matched)
            labBonusSkillCat[0]->setText(QString::number(p.BonusRankProgression(0, labProgressionSkillCat->text())));

        ShowSum(labBonusSkillCat[4], BoxSum(labBonusSkillCat), Location(".AfficheSkillCategory"));
        labBonusSkill[1]->setText(labBonusSkillCat[4]->text());

        const qint32 n = p.DirRankDevelopment(RankKind::SkillCategory, static_cast<qint32>(vb::Val(tag(labSkillCat).mid(2))), 0, 0).toInt();
        BoxesFromDevelopment(chkSkillCategory, n);

        if (LanguageMode()) {
            labNewRanksSkillCat->hide();
            for (QCheckBox *box : chkSkillCategory)
                box->hide();
        }
    } catch (...) {
        ReportCurrentException(Location(".AfficheSkillCategory"));
    }
}

// ------------------------------------------------------------------ skill panel

void frmSkillDev::AfficheSkill(QTreeWidgetItem *node)
{
    const OneErrorBox once;   // one action, one box
    try {
        Personnage &p = Record();
        const QString nodeTag = NodeTag(node);
        if (QTreeWidgetItem *categoryNode = CategoryNodeOf(node))
            AfficheSkillCategory(categoryNode);

        for (QWidget *w : std::initializer_list<QWidget *>{labSkill, labRankSkill, labProgressionSkill, labDevlopment[1],
                                                           labDevlopment[2], labDevlopment[12]})
            w->show();
        for (int k = 0; k < 5; ++k) {
            labBonusSkill[static_cast<size_t>(k)]->show();
            labDevlopment[static_cast<size_t>(k + 15)]->show();
        }
        for (QCheckBox *box : chkSkill)
            box->show();

        const QString key = NodeKey(node);
        const QString image = NodeImage(node);
        labSkill->setText(NodeText(node));
        ::setTag(labSkill, key);
        labFacteur->setText(image);

        const qint32 skill = DirSkill_ID(key);
        const qint32 sub = DirSubSkill_ID(key);
        if (skill >= 270 && skill <= 272) {
            labNewRanksSkillCat->hide();
            for (QCheckBox *box : chkSkillCategory)
                box->hide();
            static const char *columns[] = {"Channeling_PP", "Essence_PP", "Mentalism_PP"};
            if (rules::Find(RsRaceAbilities, QStringLiteral("Race_ID"), p.Race_ID))
                labProgressionSkill->setText(RsRaceAbilities.Value(QLatin1String(columns[skill - 270])).toString());
        }

        labRankSkill->setText(QStringLiteral("0"));
        labBonusSkill[2]->setText(QStringLiteral("0"));
        labBonusSkill[3]->setText(QStringLiteral("0"));
        const qint16 kind = RankKindOfTag(nodeTag);
        const qint32 row = kind != 0 ? p.RankRow(kind, skill, sub) : -1;
        if (row >= 0) {
            labRankSkill->setText(p.RankCell(kind, 1, row));
            labBonusSkill[0]->setText(
                QString::number(p.BonusRankProgression(ShownNumber(labRankSkill), labProgressionSkill->text())));
            labBonusSkill[2]->setText(p.RankCell(kind, 2, row));
            labBonusSkill[3]->setText(p.RankCell(kind, 3, row));
        } else {
            labBonusSkill[0]->setText(QString::number(p.BonusRankProgression(0, labProgressionSkill->text())));
        }

        btnSubSkill->setVisible(image.left(4) == QLatin1String("Rune") && !LanguageMode());
        ShowSum(labBonusSkill[4], BoxSum(labBonusSkill), Location(".AfficheSkill"));

        const QString shown = tag(labSkill);
        const qint32 n = p.DirRankDevelopment(kind, DirSkill_ID(shown), DirSubSkill_ID(shown), 0).toInt();
        BoxesFromDevelopment(chkSkill, n);
    } catch (...) {
        ReportCurrentException(Location(".AfficheSkill"));
    }
}

// ------------------------------------------------------------------ purchase

void frmSkillDev::chkSkill_MouseUp(int index)
{
    Purchase(false, index);
}

void frmSkillDev::chkSkillCategory_MouseUp(int index)
{
    Purchase(true, index);
}

void frmSkillDev::Purchase(bool category, int index)
{
    const OneErrorBox once;   // one action, one box
    if (index < 0 || index > 2)
        return;
    auto &boxes = category ? chkSkillCategory : chkSkill;
    QCheckBox *box = boxes[static_cast<size_t>(index)];
    const bool ticked = box->isChecked();
    try {
        Personnage &p = Record();
        qint32 kind = RankKind::SkillCategory, id = 0, sub = 0;
        QTreeWidgetItem *node = nullptr;
        if (category) {
            const QString key = tag(labSkillCat);
            if (!key.startsWith(QLatin1String("SC"))) {
                box->setChecked(!ticked);
                return;
            }
            id = static_cast<qint32>(vb::Val(key.mid(2)));
        } else {
            const QString key = tag(labSkill);
            kind = SkillKindOfKey(key);
            node = NodeByKey(key);
            if (kind == 0 || !node) {
                box->setChecked(!ticked);
                return;
            }
            id = DirSkill_ID(key);
            sub = DirSubSkill_ID(key);
        }

        // Box k is the (k+1)-th rank of the stage: ranks are taken in order
        // and given back from the last, so that what is paid always matches
        // the ranks recorded.
        const bool outOfOrder = ticked ? index > 0 && !boxes[static_cast<size_t>(index - 1)]->isChecked()
                                       : index < 2 && boxes[static_cast<size_t>(index + 1)]->isChecked();
        if (outOfOrder) {
            box->setChecked(!ticked);
            ports::ui().MsgBox(Strings::Load(9031), ports::OkOnly | ports::Exclamation, ProgramTitle());
            return;
        }

        const bool ranks = RankStage();
        const qint16 points = vb::Check16(static_cast<qint64>(vb::Val(labPD->text())));
        const qint16 cost = vb::Check16(static_cast<qint64>(vb::Val(tag(box))));
        if (!ticked) {
            p.AddDevelopment(kind, id, sub, index, 0);
            labPD->setText(QString::number(vb::Add16(points, ranks ? 1 : cost)));
        } else {
            if (!ranks) {
                if (vb::Sub16(points, cost) < 0) {
                    ports::ui().MsgBox(Strings::Load(5045), ports::OkOnly, ProgramTitle());
                    box->setChecked(false);
                    return;
                }
            } else {
                if (vb::Val(tag(chkSkillCategory[static_cast<size_t>(index)])) >= 40) {
                    ports::ui().MsgBox(Strings::Load(5044), ports::OkOnly, Strings::Load(3076));
                    box->setChecked(false);
                    return;
                }
                if (vb::Sub16(points, 1) < 0) {
                    ports::ui().MsgBox(Strings::Load(5045), ports::OkOnly, ProgramTitle());
                    box->setChecked(false);
                    return;
                }
            }
            if (!category && index == 0 && labFacteur->text().endsWith(QLatin1String("rouge")))
                ports::ui().MsgBox(Strings::Load(5057) + QLatin1Char('\n') + Strings::Load(5058),
                                   ports::OkOnly | ports::Information, Strings::Load(5059));
            p.AddDevelopment(kind, id, sub, index + 1, 0);
            labPD->setText(QString::number(vb::Sub16(points, ranks ? 1 : cost)));
        }

        if (!category) {
            // The table row is written once the purchase went through.
            const QString nodeIndex = QString::number(IndexOf(node));
            int row = 0;
            for (int i = 1; i <= SkillRowCount; ++i) {
                if (Row(i)[0].isEmpty())
                    break;
                if (Row(i)[0] == nodeIndex) {
                    row = i;
                    break;
                }
            }
            if (row == 0 && kind != RankKind::LanguageSkill) {
                QString text = NodeText(node);
                if (kind == RankKind::SubSkill && node->parent())
                    text += QStringLiteral(" (") + NodeText(node->parent()) + QLatin1Char(')');
                row = AppendSkillRow(node, text, QStringLiteral("0"), QString());
            }
            if (kind != RankKind::LanguageSkill)
                Row(row)[3] = p.DirRankDevelopment(kind, id, sub, 0).toString();
            RefreshGrid();
        }
        p.PdeD = vb::CInt(vb::Val(labPD->text()));
    } catch (...) {
        ReportCurrentException(Location(category ? ".chkSkillCategory.MouseUp" : ".chkSkill.MouseUp"));
    }
}

void frmSkillDev::btnSubSkill_Click()
{
    try {
        // The sub-skill goes under the skill the panel shows, and only a skill
        // that takes sub-skills can have one.
        QTreeWidgetItem *skillNode = NodeByKey(tag(labSkill));
        if (!skillNode || NodeTag(skillNode) != QLatin1String("Skills")
            || !NodeImage(skillNode).startsWith(QLatin1String("Rune")))
            return;
        // A character that already holds every sub-skill its file can keep
        // is told so before the player types a name for nothing.
        Personnage &p = Record();
        const QString full = p.SubSkillRefusal();
        if (!full.isEmpty()) {
            ports::ui().MsgBox(full, ports::OkOnly | ports::Exclamation, ProgramTitle());
            return;
        }
        ParentNodeIndex = IndexOf(skillNode);
        const QString name = ports::ui().InputBox(Strings::Load(5021), Strings::Load(3535), QString());
        if (name.isEmpty())
            return;
        const qint32 skill = DirSkill_ID(NodeKey(skillNode));
        if (skill < 1)
            return;
        const qint32 row = p.AddSubSkills(skill, name, 0);
        if (row < 1)
            return;
        AddLeaf(name, QStringLiteral("SS") + p.DirSubSkills(4, row) + QLatin1Char('/') + p.DirSubSkills(0, row),
                QStringLiteral("SubSkill"));
        skillNode->setExpanded(true);
    } catch (...) {
        ReportCurrentException(Location(".btnSubSkill"));
    }
}
