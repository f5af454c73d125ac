// The ranks and bonuses of a new character's upbringing.
#include "character/Personnage.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/ports.h"

namespace {

// The progress window is shown for the whole run and must go away however the
// run ends, or it would stay on screen over the next window.
class ProgressWindow {
public:
    ProgressWindow()
    {
        ports::ui().ProgressShow(Strings::Load(3502), Strings::Load(4001), 100);
        m_open = true;
    }
    ~ProgressWindow() { close(); }
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    // Row `index` (from 0) of `count` rows has been reached.
    void step(int index, int count)
    {
        if (m_open && count > 0)
            ports::ui().ProgressValue(static_cast<int>(100LL * (index + 1) / count));
    }
    void close()
    {
        if (m_open) {
            m_open = false;
            ports::ui().ProgressClose();
        }
    }

private:
    bool m_open = false;
};

} // namespace

bool Personnage::addRanks(qint16 kind, qint32 id, qint32 key, qint32 ranks)
{
    // A file holding an element twice does not open again: a rules row naming
    // an element already given adds its ranks to that element's row.
    const RankTable table = rankTable(kind);
    bool added = false;
    const qint32 r = rowFor(table, id, key, &added);
    table.cells(fRank, r) = added ? ranks : vb::Add32(table.cells(fRank, r), ranks);
    return added;
}

void Personnage::Adolescence()
{
    using namespace rulesread;
    try {
        ProgressWindow progress;
        dao::Recordset ranks = rules::Open(QStringLiteral("SELECT * FROM [Adolescences Rank] where Culture_ID= ")
                                    + QString::number(Culture_ID));
        dao::Recordset languages = rules::Open(QStringLiteral("SELECT * FROM [Culture Languages] where Culture_ID= ")
                                        + QString::number(Culture_ID));
        dao::Recordset bonuses = rules::Open(
            QStringLiteral("SELECT * FROM [Special Skills Profession & Bonus] where Profession_ID= ")
            + QString::number(Profession_ID));

        // Where the next new row of each table goes; the skill and category
        // counters run on from the culture's ranks to the profession's bonuses.
        qint32 skillRow = 0;
        qint32 catRow = 0;
        qint32 langRow = 1;

        // Each row of a query in turn, the progress window following.
        const auto eachRow = [&progress](dao::Recordset &rs, const auto &body) {
            const int count = rs.RecordCount();
            if (!rs.Eof())
                rs.MoveFirst();
            for (int i = 0; !rs.Eof(); rs.MoveNext(), ++i) {
                progress.step(i, count);
                body();
            }
        };

        // The culture's adolescence ranks. Skill 32 is the count of extra
        // language ranks of the next stage, not ranks of a skill.
        eachRow(ranks, [&] {
            if (skillRow >= NbSkill)
                RedimSkill();
            const qint32 skillId = Id(ranks, QStringLiteral("Skill_ID"));
            if (skillId != 0 && skillId != 32) {
                const qint32 rank = Need(ranks, QStringLiteral("Rank"));
                skillRow += addRanks(RankKind::Skill, skillId, 0, rank) ? 1 : 0;
            }
            if (catRow >= NbSkillCat)
                RedimSkillCat();
            const qint32 catId = Id(ranks, QStringLiteral("Skill_Category_ID"));
            if (catId != 0) {
                const qint32 rank = Need(ranks, QStringLiteral("Rank"));
                catRow += addRanks(RankKind::SkillCategory, catId, 0, rank) ? 1 : 0;
            }
        });

        // The culture's languages: spoken ranks under skill 32, written under 33.
        const auto addLanguage = [&](qint32 skill, qint32 rank, qint32 language) {
            langRow += addRanks(RankKind::LanguageSkill, skill, language, rank) ? 1 : 0;
        };
        eachRow(languages, [&] {
            if (langRow >= NbLanguageSkills)
                RedimLanguageSkills();
            const qint32 language = Id(languages, QStringLiteral("Language_ID"));
            if (language > 0) {
                const qint32 spoken = Id(languages, QStringLiteral("StartS"));
                const qint32 written = Id(languages, QStringLiteral("StartW"));
                if (spoken > 0) {
                    addLanguage(32, spoken, language);
                    if (langRow >= NbLanguageSkills)
                        RedimLanguageSkills();
                }
                if (written > 0)
                    addLanguage(33, written, language);
            }
        });

        // The profession's special bonuses replace the first special bonus of
        // the element, which gets a row of its own when it has none yet. The
        // row counters follow, so that the tables grow as they did above.
        eachRow(bonuses, [&] {
            if (skillRow >= NbSkill)
                RedimSkill();
            const qint32 skillId = Id(bonuses, QStringLiteral("Skill_ID"));
            const qint32 bonus = Id(bonuses, QStringLiteral("Bonus"));
            bool added = false;
            if (skillId != 0 && bonus > 0) {
                Skill(fSpecial1, rowOf(false, skillId, &added)) = bonus;
                skillRow += added ? 1 : 0;
            }
            if (catRow >= NbSkillCat)
                RedimSkillCat();
            const qint32 catId = Id(bonuses, QStringLiteral("Skill_Category_ID"));
            if (catId != 0 && bonus > 0) {
                SkillCat(fSpecial1, rowOf(true, catId, &added)) = bonus;
                catRow += added ? 1 : 0;
            }
        });

        // Every character gets the fixed bonus of category 12.
        progress.close();
        if (catRow >= NbSkillCat)
            RedimSkillCat();
        bool added = false;
        SkillCat(fSpecial2, rowOf(true, 12, &added)) = 10;
        ranks.Close();
        languages.Close();
        bonuses.Close();
    } catch (...) {
        ReportCurrentException(QStringLiteral("Adolescence"));
    }
}
