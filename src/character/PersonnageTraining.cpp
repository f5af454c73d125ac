// Applying a training package bought in a development stage.
#include "character/Limits.h"
#include "character/OneListChoices.h"
#include "character/Personnage.h"
#include "character/RulesRead.h"
#include "frame/Dice.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/ports.h"

#include <algorithm>
#include <limits>

namespace {

bool isWeaponCategory(qint32 cat) { return cat >= 49 && cat <= 55; }
bool isWeaponSkill(qint32 skill) { return skill >= 226 && skill <= 232; }

// Starting money is written as dice, "2d10": a count, one separator, the
// number of faces. Any count is read, so "10d6" is ten dice of six faces.
struct DiceText {
    qint32 count = 0;
    qint32 faces = 0;
};

DiceText readDice(const QString &text)
{
    int digits = 0;
    while (digits < text.size() && text.at(digits).isDigit())
        ++digits;
    DiceText d;
    d.count = digits > 0 ? vb::CLng(vb::Val(text.left(digits))) : vb::CLng(vb::Val(text.left(1)));
    d.faces = vb::CLng(vb::Val(text.mid(std::max(digits, 1) + 1)));
    return d;
}

// months / 12 in tenths of a year, halves to the even tenth (3 months: 0.2).
qint64 tenthsOfYear(qint64 months)
{
    const qint64 num = months * 10;
    qint64 q = num / 12;
    qint64 rem = num % 12;
    if (rem < 0) {
        rem += 12;
        --q;
    }
    if (2 * rem > 12 || (2 * rem == 12 && (q & 1)))
        ++q;
    return q;
}

// The sheet's first coin box shows Money in ten-thousands: one gold piece.
constexpr qint32 kGoldPiece = 10000;

// Dice the roller can throw: at most 101 faces (the open-ended roll), and a
// request that fits 16 bits.
bool rollable(const DiceText &dice)
{
    return dice.faces >= std::numeric_limits<qint16>::min() && dice.faces <= 101;
}

// The most the money dice of a package can add up to. A die of no faces or
// fewer shows 1; the open-ended roll counts its ordinary highest, 100.
qint64 highestDice(const QString &money)
{
    if (money.isEmpty())
        return 0;
    const DiceText dice = readDice(money);
    if (dice.count <= 0 || !rollable(dice))
        return 0;
    return qint64(dice.count) * std::clamp<qint64>(dice.faces, 1, 100);
}

// The age after a package of `months`, in single precision as it is kept.
float agedBy(float age, qint32 months)
{
    return vb::CSng(static_cast<double>(age) + static_cast<double>(tenthsOfYear(months)) / 10.0);
}

struct TrainingRankRow {
    qint32 category = 0;
    qint32 skill = 0;
    qint32 ranks = 0;
    bool choice = false;
};

struct Special {
    QString name;
    qint32 chance = 0;
};

// The category of a skill, from the whole Skills table.
qint32 categoryOfSkill(dao::Recordset &skills, qint32 skill)
{
    ModGeneral::Criteria = QStringLiteral("Skill_ID LIKE('") + QString::number(skill) + QStringLiteral("')");
    skills.FindFirst(ModGeneral::Criteria);
    if (skills.NoMatch())
        vb::Raise(vb::ErrNoCurrentRecord);
    return rulesread::Id(skills, QStringLiteral("Skill_Category_ID"));
}

QString categoryName(dao::Recordset &categories, qint32 cat)
{
    ModGeneral::Criteria = QStringLiteral("Skill_Category_ID LIKE('") + QString::number(cat) + QStringLiteral("')");
    categories.FindFirst(ModGeneral::Criteria);
    if (categories.NoMatch())
        vb::Raise(vb::ErrNoCurrentRecord);
    return rulesread::Text(categories, rules::LangCol(QStringLiteral("Skill_Category")));
}

QString withCount(const QString &text, qint32 count)
{
    return text + QStringLiteral(" (") + QString::number(count) + QStringLiteral(")");
}

} // namespace

void Personnage::addCappedRank(bool category, qint32 id, qint32 ranks)
{
    character::GrowTable<qint32> &table = category ? SkillCat : Skill;
    bool added = false;
    const qint32 r = rowOf(category, id, &added);
    if (added) {
        table(fRank, r) = ranks;
        return;
    }
    // A package trains up to rank 10 and never takes ranks away.
    const qint32 rank = table(fRank, r);
    if (rank <= 10)
        table(fRank, r) = std::min<qint64>(qint64(rank) + ranks, 10);
}

void Personnage::addDevelopmentRanks(qint32 kind, qint32 id, qint32 key, qint32 ranks)
{
    // The package's ranks come on top of those bought in the stage (and of an
    // earlier row of the same package), where the skill window's own ticks
    // set the count.
    const QVariant before = DirRankDevelopment(kind, id, key, 0);
    AddDevelopment(kind, id, key, vb::Add32(before.toInt(), ranks), 0);
}

qint32 Personnage::chooseOne(int player, qint32 mode, qint32 skill, qint32 count, const QString &caption)
{
    PointsBO = vb::CInt(mode);
    ModGeneral::WeaponChoiceArgs[0] = skill;
    ModGeneral::WeaponChoiceArgs[2] = count;
    std::vector<ports::ChooserItem> items;
    try {
        items = onelist::Items(*this, mode, skill);
    } catch (...) {
        // The chooser still opens (empty), as it would have with a failed fill.
        ReportCurrentException(QStringLiteral("frmArmeAdolescence.LoadData"));
    }
    const qint32 chosen = ports::ui().ChooseOneTitled(player, mode, items, caption);
    const bool offered = std::any_of(items.begin(), items.end(),
                                     [chosen](const ports::ChooserItem &it) { return it.id == chosen; });
    if (!offered)
        return -1;   // closed without a choice
    if (onelist::IsWeaponMode(mode))
        addDevelopmentRanks(RankKind::WeaponSkill, skill, chosen, count);
    else if (onelist::IsSpellListMode(mode))
        addDevelopmentRanks(RankKind::SpellList, skill, chosen, count);
    else
        PointsBO = vb::CInt(chosen);
    return chosen;
}

void Personnage::TransferTraining(qint32 trainingId, const QString &number)
{
    using namespace rulesread;
    const int player = number.trimmed().toInt();
    const QString idText = QString::number(trainingId);
    try {
        dao::Recordset stats = rules::Open(QStringLiteral("Stat"));
        dao::Recordset skills = rules::Open(QStringLiteral("Skills"));
        dao::Recordset categories = rules::Open(QStringLiteral("Skill Category"));
        dao::Recordset package =
            rules::Open(QStringLiteral("SELECT * From [Training Package] WHERE ((Training_ID=") + idText + QStringLiteral("));"));
        if (package.Eof())
            vb::Raise(vb::ErrNoCurrentRecord);
        package.MoveFirst();
        const QString money = Text(package, QStringLiteral("StartingMoney")).trimmed();
        const qint32 months = Id(package, QStringLiteral("Months"));
        const QString name = Text(package, rules::LangCol(QStringLiteral("Training")));
        const qint32 stat1 = Id(package, QStringLiteral("Stat1"));
        const qint32 stat2 = Id(package, QStringLiteral("Stat2"));
        const qint32 statChoices = Id(package, QStringLiteral("ChoiseStat"));
        package.Close();
        // An age past the range a file may hold would be saved into a file
        // that no longer opens: the package stops before it changes anything.
        // The purchase and the end of the stage refuse such a package first.
        const float age = agedBy(Age, months);
        if (!character::limits::kPhysique.contains(double(age)))
            vb::Raise(vb::ErrOverflow);

        // Money: (1 + the dice) gold pieces, a gold piece being the 10000 of
        // the sheet's first coin box, as the background options count it.
        qint32 total = 0;
        if (!money.isEmpty()) {
            const DiceText dice = readDice(money);
            // No dice to roll gives no faces to check: the one gold piece is all there is.
            // The roller has no number for more than 101 faces, nor a request
            // past 16 bits: such dice count nothing, and the rest of the package
            // is still the player's, its points already spent.
            if (dice.count < 0 || (dice.count > 0 && !rollable(dice)))
                ports::ui().MsgBox(Strings::Load(9100).arg(money), ports::OkOnly | ports::Exclamation,
                                   ModGeneral::ProgramTitle());
            else
                for (qint32 i = 0; i < dice.count; ++i)
                    total = vb::Add32(total, vb::CLng(JetDe(static_cast<qint16>(dice.faces))));
        }
        // The purchase counts an open-ended die at its ordinary highest, but
        // the roll itself may go on past it: money the sheet could not hold is
        // not added, and the rest of the package, whose points are spent, still is.
        const qint64 gained = (qint64(1) + total) * kGoldPiece;
        if (character::limits::kMoney.contains(qint64(Money) + gained))
            Money = qint32(qint64(Money) + gained);
        else
            ports::ui().MsgBox(Strings::Load(9590).arg(Nom, QString::number(gained / kGoldPiece),
                                                       QString::number(character::limits::kMoney.high / kGoldPiece)),
                               ports::OkOnly | ports::Exclamation, ModGeneral::ProgramTitle());

        if (ModGeneral::DataLanguage == 1000 || ModGeneral::DataLanguage == 5000) {
            Historique = Historique.toString() + QStringLiteral("\r\n")
                         + HistoryLineBreaks(Strings::Load(3052) + QStringLiteral(" ")
                                             + QString::number(qint32(CalNiveau()) + 1) + QStringLiteral(": ") + name);
        }

        Age = age;

        // Every row is read before the first chooser opens.
        std::vector<TrainingRankRow> rows;
        {
            dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [Training Skill Ranks] WHERE ((Training_ID=")
                                     + idText + QStringLiteral("));"));
            if (!rs.Eof())
                rs.MoveFirst();
            for (; !rs.Eof(); rs.MoveNext())
                rows.push_back({Id(rs, QStringLiteral("Skill_Category_ID")), Id(rs, QStringLiteral("Skill_ID")),
                                Id(rs, QStringLiteral("Ranks")), Flag(rs, QStringLiteral("Choise"))});
            rs.Close();
        }
        // A weapon skill row goes with the package's row for its category,
        // whose choice of category decides which weapons are offered.
        auto weaponRowsOf = [&](qint32 categoryAsRead) {
            std::vector<const TrainingRankRow *> out;
            for (const TrainingRankRow &w : rows) {
                if (isWeaponSkill(w.skill) && w.ranks > 0 && categoryOfSkill(skills, w.skill) == categoryAsRead)
                    out.push_back(&w);
            }
            return out;
        };
        auto hasCategoryRow = [&](qint32 weaponSkill) {
            const qint32 cat = categoryOfSkill(skills, weaponSkill);
            return std::any_of(rows.begin(), rows.end(), [cat](const TrainingRankRow &c) {
                return c.category == cat && c.ranks > 0 && isWeaponCategory(c.category);
            });
        };

        for (const TrainingRankRow &row : rows) {
            if (row.category > 0 && row.ranks > 0) {
                qint32 cat = row.category;
                if (isWeaponCategory(cat)) {
                    PointsBO = vb::CInt(cat);
                    if (row.choice) {
                        const qint32 chosen = chooseOne(player, cat, 0, 0, withCount(Strings::Load(3505), row.ranks));
                        if (chosen < 0)
                            continue;
                        cat = chosen;
                    }
                }
                addCappedRank(true, cat, row.ranks);
                if (isWeaponCategory(cat)) {
                    for (const TrainingRankRow *w : weaponRowsOf(row.category))
                        chooseOne(player, cat + 177, cat + 177, w->ranks, withCount(Strings::Load(3505), w->ranks));
                }
            } else if (row.skill > 0 && row.ranks > 0) {
                qint32 k = row.skill;
                if (row.choice) {
                    if (k == 166) {
                        const QString catName = categoryName(categories, categoryOfSkill(skills, k));
                        const QString caption = Strings::Load(3528) + QStringLiteral(" - ") + withCount(catName, 1);
                        // The package trains the skill itself whether or not a list was picked.
                        chooseOne(player, 166, 166, row.ranks, caption);
                        PointsBO = 166;
                    } else if (isWeaponSkill(k)) {
                        // Chosen with its category when the package has a row for it.
                        if (!hasCategoryRow(k))
                            chooseOne(player, k, k, row.ranks, withCount(Strings::Load(3505), row.ranks));
                        continue;
                    } else {
                        // One choice per rank, each chosen skill taking its rank.
                        const qint32 cat = categoryOfSkill(skills, k);
                        const QString caption = Strings::Load(3528) + QStringLiteral(" - ") + categoryName(categories, cat);
                        for (qint32 n = 0; n < row.ranks; ++n) {
                            const qint32 chosen = chooseOne(player, cat, 0, 0, caption);
                            if (chosen > 0 && chosen != 116 && !isWeaponSkill(chosen))
                                addCappedRank(false, chosen, 1);
                        }
                        continue;
                    }
                }
                if (k != 0 && k != 116 && !isWeaponSkill(k))
                    addCappedRank(false, k, row.ranks);
            }
        }

        // Specials won by chance: once one is won, the rest need twice the luck.
        std::vector<Special> specials;
        {
            dao::Recordset rs = rules::Open(QStringLiteral("SELECT * From [Training special] WHERE ((Training_ID=") + idText
                                     + QStringLiteral("));"));
            if (!rs.Eof())
                rs.MoveFirst();
            for (; !rs.Eof(); rs.MoveNext())
                specials.push_back({Text(rs, rules::LangCol(QStringLiteral("Special"))), Id(rs, QStringLiteral("Chance"))});
            rs.Close();
        }
        if (!specials.empty()) {
            qint32 d = 1;
            bool gained = false;
            for (const Special &s : specials) {
                const qint32 roll = vb::CLng(JetDe(101));
                if (qint64(roll) + s.chance / d > 100) {
                    Historique = Historique.toString() + QStringLiteral(", ") + HistoryLineBreaks(s.name);
                    d = 2;
                    gained = true;
                }
            }
            if (!gained)
                Historique = Historique.toString() + QStringLiteral(", ") + HistoryLineBreaks(specials.back().name);
        }

        // Statistic gains: the package's own statistics, and those of choice.
        std::vector<int> forced;
        for (const qint32 s : {stat1, stat2}) {
            if (s == 0)
                continue;
            ModGeneral::Criteria = QStringLiteral("Stat_ID LIKE('") + QString::number(s) + QStringLiteral("')");
            stats.FindFirst(ModGeneral::Criteria);
            if (!stats.NoMatch() && std::find(forced.begin(), forced.end(), s - 1) == forced.end())
                forced.push_back(s - 1);
        }
        const int choices = statChoices > 0 ? statChoices : 0;
        stats.Close();
        skills.Close();
        categories.Close();
        if (!forced.empty() || choices > 0)
            ports::ui().ChooseStatGains(player, forced, choices);
    } catch (...) {
        ReportCurrentException(QStringLiteral("TransferTraining"));
    }
}

QString Personnage::TrainingRefusal(qint32 trainingId)
{
    using namespace rulesread;
    QString money;
    qint32 months = 0;
    try {
        dao::Recordset package = rules::Open(QStringLiteral("SELECT * From [Training Package] WHERE ((Training_ID=")
                                             + QString::number(trainingId) + QStringLiteral("));"));
        if (package.Eof())
            return QString();
        package.MoveFirst();
        money = Text(package, QStringLiteral("StartingMoney")).trimmed();
        months = Id(package, QStringLiteral("Months"));
        package.Close();
    } catch (...) {
        // A package the rules cannot describe is reported by the transfer
        // itself, once, as it always was.
        return QString();
    }
    const float age = agedBy(Age, months);
    if (!character::limits::kPhysique.contains(double(age)))
        return Strings::Load(9420).arg(Nom, vb::NumText(Age), vb::NumText(age),
                                       vb::NumText(character::limits::kPhysique.low),
                                       vb::NumText(character::limits::kPhysique.high));
    const qint64 most = qint64(Money) + (1 + highestDice(money)) * qint64(kGoldPiece);
    if (!character::limits::kMoney.contains(most))
        return Strings::Load(9421).arg(Nom, QString::number(character::limits::kMoney.high / kGoldPiece));
    return QString();
}
