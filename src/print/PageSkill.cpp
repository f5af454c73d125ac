// The skill pages: every skill the character holds ranks in, by name, with
// its cost, statistic, ranks, boxes for new ranks and its bonuses.
#include "print/ModPrint.h"

#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "platform/vb.h"

#include <QHash>

#include <cmath>
#include <limits>
#include <vector>

namespace ModPrint {
namespace {

constexpr int kFirstRow = 7;
constexpr int kRowsPerPage = 48;
// Room for a skill's name, from its x to short of the cost column.
constexpr double kNameWidth = 5.7;
// The character's name in the header ends short of the frame.
constexpr double kNameEnd = 19.9;

bool NeverPrinted(qint32 category)
{
    return category == 12 || category == 28 || (category >= 32 && category <= 41) ||
           (category >= 49 && category <= 55);
}

// One ranked entry of the character for a skill: the plain skill's row, or one
// of its named sub-skills.
struct Entry {
    qint32 skill = 0;
    qint32 ranks = 0;
    qint32 item = 0;
    qint32 special = 0;
    qint32 subId = 0;          // 0 for a plain skill
    QString subName;
    bool sub = false;
};

// The rows of the character's sub-skills that hold ranks, in row order, by
// skill: the table is walked once for the whole sheet, not once a skill.
QHash<qint32, std::vector<qint32>> RankedSubSkillRows(Personnage &p)
{
    QHash<qint32, std::vector<qint32>> rows;
    for (qint32 i = 1; i <= p.NbSubSkill; ++i) {
        const double skill = vb::Val(p.DirSubSkills(0, i));
        if (skill == std::trunc(skill) && skill >= std::numeric_limits<qint32>::min()
            && skill <= std::numeric_limits<qint32>::max() && vb::Val(p.DirSubSkills(1, i)) > 0)
            rows[qint32(skill)].push_back(i);
    }
    return rows;
}

} // namespace

void PrintSkillHeader(const QString &player)
{
    Personnage &p = ModGeneral::Players(vb::CLng(player));
    SetFontName(QStringLiteral("Arial"));
    SetDrawWidth(5, 3);
    DrawLine(2, 1.4, 20.1, 1.4);
    DrawLine(2, 1.4, 2, RowY(56));
    DrawLine(20.1, 1.4, 20.1, RowY(56));
    DrawLine(2, RowY(56), 20.1, RowY(56));
    DrawLine(2, 1.4, 20.1, 1.4);
    DrawLine(2, 2.3, 20.1, 2.3);

    SetFontSize(12);
    SetBold(true);
    SetCurrentY(1.6);
    SetCurrentX(11.1);
    PrintCentered(TableString(3510));
    SetBold(false);

    SetFontSize(10);
    TextFrom(2.32, 1, TableString(3050) + QStringLiteral(" :"));
    SetBold(true);
    TextFrom(4.54, 1, Fit(p.Nom, kNameEnd - 4.54));
    SetBold(false);
    TextFrom(2.32, 2, TableString(3052) + QStringLiteral(" :"));
    TextFrom(4.54, 2, NumberText(p.CalNiveau()));

    SetDrawWidth(2, 1);
    SetDrawStyle(print::StyleDot);
    SetBold(true);
    TextFrom(2.32, 4, TableString(3546));
    SetBold(false);

    SetFontSize(8);
    TextCenteredOn(8.7, 4, TableString(3518));
    TextCenteredOn(10, 3, TableString(3544));
    TextCenteredOn(10, 4, TableString(3077));
    TextCenteredOn(11, 3, TableString(3545));
    TextCenteredOn(11, 4, TableString(3080));
    TextCenteredOn(12, 3, TableString(3523));
    TextCenteredOn(12, 4, TableString(3080));
    TextCenteredOn(16.25, 3, TableString(3048));
    TextCenteredOn(13.5, 4, TableString(3075));
    TextCenteredOn(15, 4, TableString(3521));
    TextCenteredOn(16.5, 4, TableString(3520));
    TextCenteredOn(18, 4, TableString(3504));
    TextCenteredOn(19.5, 4, TableString(3503));
    DrawLine(13, RowY(3.9), 19.8, RowY(3.9));

    SetDrawWidth(4, 2);
    SetDrawStyle(print::StyleDot);
    DrawLine(2, RowY(6.2), 20.1, RowY(6.2));
    SetFontSize(10);
    SetDrawStyle(print::StyleSolid);
}

void Page_Skill(const QString &player)
{
    try {
        Personnage &p = ModGeneral::Players(vb::CLng(player));
        const QString nameColumn = rules::LangCol(QStringLiteral("Skill"));
        dao::Recordset skills =
            rules::Open(QStringLiteral("SELECT * FROM Skills ORDER BY ") + nameColumn + QStringLiteral(";"));
        dao::Recordset categories = rules::Open(QStringLiteral("Skill Category"));
        dao::Recordset costs = rules::Open(QStringLiteral("SELECT * FROM [Skill Category DP Cost] WHERE Profession_ID= ") +
                                           QString::number(p.Profession_ID));
        dao::Recordset progressions = rules::Open(QStringLiteral("Skill Bonus"));
        dao::Recordset stats = rules::Open(QStringLiteral("Stat"));
        const QString abbreviation = rules::LangCol(QStringLiteral("Abr"));

        int row = kFirstRow;
        int count = 0;
        bool holeReported = false;
        PrintSkillHeader(player);

        // The rules' skills are walked in name order; the character's tables
        // are searched for each.
        std::vector<std::pair<qint32, bool>> order;   // skill id, subdivided
        if (skills.RecordCount() > 0)
            skills.MoveFirst();
        while (!skills.Eof()) {
            dao::DBEngine_().Idle();
            const qint32 category = vb::CLng(skills.Value(QStringLiteral("Skill_Category_ID")));
            if (!NeverPrinted(category))
                order.emplace_back(vb::CLng(skills.Value(QStringLiteral("Skill_ID"))),
                                   vb::CLng(skills.Value(QStringLiteral("Subdivision"))) != 0);
            skills.MoveNext();
        }

        const QHash<qint32, std::vector<qint32>> subSkillRows = RankedSubSkillRows(p);
        for (const auto &[skillId, subdivided] : order) {
            std::vector<Entry> entries;
            if (!subdivided) {
                // A skill table that never grew has no rows at all, not even row 0.
                for (qint32 i = 0; p.NbSkill > 0 && i <= p.NbSkill; ++i) {
                    if (p.DirSkills(0, i) == skillId && p.DirSkills(1, i) > 0) {
                        Entry e;
                        e.skill = skillId;
                        e.ranks = p.DirSkills(1, i);
                        e.item = p.DirSkills(2, i);
                        e.special = p.DirSkills(3, i);
                        entries.push_back(e);
                        break;
                    }
                }
            } else {
                // Every named sub-skill with ranks gets its own row: a character
                // with two crafts sees both on the sheet.
                for (const qint32 i : subSkillRows.value(skillId)) {
                    Entry e;
                    e.skill = skillId;
                    e.ranks = qint32(vb::Val(p.DirSubSkills(1, i)));
                    e.item = qint32(vb::Val(p.DirSubSkills(2, i)));
                    e.special = qint32(vb::Val(p.DirSubSkills(3, i)));
                    e.subId = qint32(vb::Val(p.DirSubSkills(4, i)));
                    e.subName = p.DirSubSkills(5, i);
                    e.sub = true;
                    entries.push_back(e);
                }
            }

            // The rows of one skill's sub-skills are cut together, so that
            // each keeps what tells it from the others.
            QStringList subRows;
            if (subdivided && !entries.empty() && rules::Find(skills, QStringLiteral("Skill_ID"), skillId)) {
                QStringList subs;
                for (const Entry &e : entries)
                    subs << e.subName;
                SetFontSize(10);
                subRows = FitSubSkills(skills.Value(nameColumn).toString(), subs, kNameWidth);
            }

            for (qsizetype k = 0; k < qsizetype(entries.size()); ++k) {
                const Entry &e = entries[size_t(k)];
                ++count;
                if (count > kRowsPerPage) {
                    PrintFooter();
                    NewPage();
                    PrintSkillHeader(player);
                    row = kFirstRow;
                    count = 1;
                }
                if (rules::Find(skills, QStringLiteral("Skill_ID"), e.skill)) {
                    const qint32 category = vb::CLng(skills.Value(QStringLiteral("Skill_Category_ID")));
                    const QString name = skills.Value(nameColumn).toString();
                    SetFontSize(10);
                    TextFrom(2.32, row, e.sub ? subRows.value(k) : Fit(name, kNameWidth));

                    // No cost row for the category prints no cost.
                    if (rules::Find(costs, QStringLiteral("Skill_Category_ID"), category))
                        TextCenteredOn(8.7, row, costs.Value(QStringLiteral("Cost")).toString());

                    SetFontSize(8);
                    if (rules::Find(stats, QStringLiteral("Stat_ID"), skills.Value(QStringLiteral("Stat_ID"))))
                        TextCenteredOn(10, row, stats.Value(abbreviation).toString());
                    SetFontSize(10);
                    TextCenteredOn(11, row, NumberText(e.ranks));

                    SetFontName(QStringLiteral("Wingdings"));
                    TextCenteredOn(12, row, QStringLiteral("ooo"));
                    SetFontName(QStringLiteral("Arial"));

                    // Without the category's row nothing of its bonuses can
                    // be worked out: the row keeps its other figures, and the
                    // hole is told once, not for every skill of the category.
                    // A progression the rules lack leaves only the rank bonus
                    // empty; the totals are the record's own to work out.
                    const bool categoryKnown = rules::Find(categories, QStringLiteral("Skill_Category_ID"), category);
                    if (!categoryKnown && !holeReported) {
                        holeReported = true;
                        ReportError(vb::Error(vb::ErrNoCurrentRecord), QStringLiteral("ModPrint.Page_Skill"));
                    }
                    if (categoryKnown && rules::Find(progressions, QStringLiteral("Skill_Bonus_ID"),
                                                     categories.Value(QStringLiteral("Skill_Bonus_ID"))))
                        TextEndingAt(13.8, row,
                              NumberText(p.BonusRankProgression(vb::Check16(e.ranks),
                                                       progressions.Value(QStringLiteral("Skill_Bonus")).toString())));
                    if (categoryKnown)
                        TextEndingAt(15.3, row, NumberText(p.TotalSkillCatBonus(category)));
                    TextEndingAt(16.8, row, NumberText(e.item));
                    TextEndingAt(18.3, row, NumberText(e.special));
                    // A sub-skill's total is the one of its own row.
                    if (categoryKnown)
                        TextEndingAt(19.8, row,
                              NumberText(e.sub ? p.TotalSkillBonus(e.skill, e.subId, 3) : p.TotalSkillBonus(e.skill, 0, 2)));
                }
                ++row;
            }
        }
        PrintFooter();
    } catch (...) {
        ReportCurrentException(QStringLiteral("ModPrint.Page_Skill"));
    }
}

} // namespace ModPrint
