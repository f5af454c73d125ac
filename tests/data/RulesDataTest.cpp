// Checks the built rules database against everything the program takes for granted
// about it, so that an edit of the data that would break a screen or a computation
// fails here instead of at the table.
#include "platform/Collation.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <sqlite3.h>

#include <map>
#include <set>
#include <vector>

namespace {

using Row = std::vector<QVariant>;

class RulesData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("master.dat");
        ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK)
            << qPrintable(path);
        platform::registerCollations(db);
    }
    static void TearDownTestSuite()
    {
        sqlite3_close(db);
        db = nullptr;
    }

    // Every row of a query; a query SQLite refuses fails the test with its message.
    static std::vector<Row> rows(const QString &sql)
    {
        std::vector<Row> out;
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << qPrintable(sql) << ": " << sqlite3_errmsg(db);
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            Row r;
            for (int i = 0, n = sqlite3_column_count(st); i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER: r.emplace_back(qint64(sqlite3_column_int64(st, i))); break;
                case SQLITE_FLOAT: r.emplace_back(sqlite3_column_double(st, i)); break;
                case SQLITE_NULL: r.emplace_back(); break;
                default:
                    r.emplace_back(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                                     sqlite3_column_bytes(st, i)));
                }
            }
            out.push_back(std::move(r));
        }
        sqlite3_finalize(st);
        return out;
    }
    static qint64 count(const QString &sql)
    {
        const auto r = rows(sql);
        return r.empty() ? -1 : r[0][0].toLongLong();
    }
    static std::set<qint64> ids(const QString &sql)
    {
        std::set<qint64> s;
        for (const auto &r : rows(sql))
            s.insert(r[0].toLongLong());
        return s;
    }
    static bool prepares(const QString &sql, QString *error = nullptr)
    {
        sqlite3_stmt *st = nullptr;
        const bool ok = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK;
        if (!ok && error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        return ok;
    }
    static QStringList columns(const QString &table)
    {
        QStringList c;
        for (const auto &r : rows("PRAGMA table_info([" + table + "])"))
            c << r[1].toString();
        return c;
    }

    static sqlite3 *db;
};
sqlite3 *RulesData::db = nullptr;

// Five values joined by U+2022; each a whole number or one of the four fractions.
bool isProgression(const QString &text)
{
    static const QRegularExpression token(QStringLiteral("^(-?[0-9]+|¼|½|¾|1½)$"));
    const QStringList parts = text.split(QChar(0x2022));
    if (parts.size() != 5)
        return false;
    for (const QString &p : parts)
        if (!token.match(p).hasMatch())
            return false;
    return true;
}

// One to three whole numbers joined by "/".
bool isCost(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]+(/[0-9]+){0,2}$"));
    return re.match(text).hasMatch();
}

const std::map<QString, QStringList> &readColumns()
{
    static const std::map<QString, QStringList> m{
        {"Skills", {"Skill_ID", "SkillEn", "SkillFr", "Skill_Category_ID", "Subdivision", "Restricted", "Stat_ID"}},
        {"Skill Category", {"Skill_Category_ID", "Skill_CategoryEn", "Skill_CategoryFr", "Stat_ID1", "Stat_ID2", "Stat_ID3",
                            "Skill_Category_Bonus_ID", "Skill_Bonus_ID"}},
        {"Skill Bonus", {"Skill_Bonus_ID", "Skill_Bonus"}},
        {"Skill Category DP Cost", {"Profession_ID", "Skill_Category_ID", "Cost"}},
        {"Stat", {"Stat_ID", "StatEn", "StatFr", "AbrEn", "AbrFr"}},
        {"Realms of Power", {"Realm_ID", "RealmEn", "RealmFr", "Stat_ID1", "Stat_ID2", "Stat_ID3"}},
        {"Race Abilities", {"Race_ID", "RaceEn", "RaceFr", "NoteEn", "NoteFr", "AG", "CO", "Me", "Re", "SD", "EM", "It", "Pr",
                            "Qu", "ST", "Ess", "Chan", "Ment", "Pois", "Fear", "Body", "Channeling_PP", "Essence_PP",
                            "Mentalism_PP", "Hobby_Ranks", "BG_opts"}},
        {"Culture", {"Culture_ID", "CultureFr", "Race_ID", "WeightMale", "HeightMale", "WeightFemal", "HeightFemal",
                     "LifespanMin", "LifespanMax", "Image", "PhysycalCharacterEn", "PhysycalCharacterFr", "OtherFactorEn",
                     "OtherFactorFr", "CultureFactorEn", "CultureFactorFr", "OutfitingOptionsEn", "OutfitingOptionsFr",
                     "BackgroundOptionsEn", "BackgroundOptionsFr"}},
        {"Profession", {"Profession_ID", "ProfessionEn", "ProfessionFr", "NoteEn", "NoteFr", "Stat_ID1", "Stat_ID2",
                        "Stat_ID3", "Realm_ID", "SpellUsers_ID"}},
        {"Adolescences Rank", {"Culture_ID", "Skill_ID", "Skill_Category_ID", "Rank", "Choice"}},
        {"Culture Languages", {"Culture_ID", "Language_ID", "StartS", "StartW"}},
        {"Culture weapons", {"Culture_ID", "Weapon_ID"}},
        {"Language", {"Language_ID", "LanguageEn", "LanguageFr"}},
        {"Special Skills Culture", {"Culture_ID", "SpecialSkill_ID", "Skill_ID"}},
        {"Special Skills Profession & Bonus", {"Profession_ID", "Skill_ID", "Skill_Category_ID", "SpecialSkill_ID", "Bonus"}},
        {"Weapons", {"Weapon_ID", "WeaponEn", "WeaponFr"}},
        {"Weapons Type", {"Weapon_ID", "Skill_ID"}},
        {"List", {"List_ID", "ListEn", "ListFr", "Realm_ID", "Classification_ ID"}},
        {"Base List", {"List_ID", "Profession_ID"}},
        {"Talents", {"Talents_ID", "Type_ID", "Roll", "TalentEn", "NoteEn"}},
        {"Talents Bonus", {"Talents_ID", "Skill_Category_ID", "Skill_ID", "Stat_ID", "Bonus"}},
        {"Flaws", {"Flaws_ID", "Type_ID", "Roll", "FlawEn", "NoteEn"}},
        {"Flaws Bonus", {"Flaws_ID", "Skill_Category_ID", "Skill_ID", "Stat_ID", "Bonus"}},
        {"Talents Cost", {"DegreeEn", "DegreeFr", "Random_Flaw", "Random_nonFlaw", "Random_Flaw1", "Select_Flaw",
                          "Select_nonFlaw", "Select_Flaw1"}},
        {"Special Items", {"Roll", "Item1En", "Item2En", "Item3En", "Item4En"}},
        {"Training Package", {"Training_ID", "TrainingEn", "TrainingFr", "StartingMoney", "Months", "Stat1", "Stat2",
                              "ChoiseStat", "Vocational/Lifestyle", "NoteEn", "NoteFr"}},
        {"Training Package DP Cost", {"Training_ID", "Profession_ID", "Cost", "Typical"}},
        {"Training Skill Ranks", {"Training_ID", "Skill_Category_ID", "Skill_ID", "Ranks", "Choise"}},
        {"Training special", {"Training_ID", "SpecialEn", "SpecialFr", "Chance"}},
        {"Armor Modification", {"Armor_ID", "ArmorEn", "ArmorFr", "Protection", "MaxManeuvre", "MinManeuvre",
                                "MissileAttak", "Quickness"}},
        {"Shield", {"Shield_ID", "ShieldEn", "ShieldFr", "Melee", "Missile"}},
    };
    return m;
}

TEST_F(RulesData, EveryTableAndEveryReadColumnExists)
{
    EXPECT_EQ(readColumns().size(), 31u);
    for (const auto &[table, cols] : readColumns()) {
        const QStringList have = columns(table);
        ASSERT_FALSE(have.isEmpty()) << "missing table " << qPrintable(table);
        for (const QString &c : cols)
            EXPECT_TRUE(have.contains(c)) << qPrintable(table) << "." << qPrintable(c);
    }
    // Table names are not case-sensitive: both spellings the queries use reach the races.
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Race abilities]"), count("SELECT COUNT(*) FROM [Race Abilities]"));
}

TEST_F(RulesData, HasAFullGamesWorthOfRows)
{
    const std::vector<std::pair<QString, int>> minimum{
        {"Race Abilities", 6}, {"Culture", 8}, {"Profession", 12}, {"Skills", 240}, {"Language", 15}, {"Weapons", 40},
        {"List", 60}, {"Talents Cost", 4}, {"Talents", 30}, {"Flaws", 30}, {"Special Items", 10},
        {"Training Package", 12}, {"Armor Modification", 20}, {"Shield", 5}, {"Talents Bonus", 20}, {"Flaws Bonus", 20}};
    for (const auto &[table, n] : minimum)
        EXPECT_GE(count("SELECT COUNT(*) FROM [" + table + "]"), n) << qPrintable(table);
}

TEST_F(RulesData, StatisticsAndRealmsHaveTheirFixedIdsInStoredOrder)
{
    const auto st = rows("SELECT Stat_ID, AbrEn, AbrFr FROM Stat ORDER BY rowid");
    ASSERT_EQ(st.size(), 10u);
    const QStringList abr{"Ag", "Co", "Me", "Re", "SD", "Em", "In", "Pr", "Qu", "St"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(st[i][0].toInt(), i + 1);
        EXPECT_EQ(st[i][1].toString(), abr[i]);
        EXPECT_FALSE(st[i][2].toString().isEmpty());
    }

    const auto realms = rows("SELECT Realm_ID, Stat_ID1, Stat_ID2, Stat_ID3 FROM [Realms of Power] ORDER BY rowid");
    ASSERT_EQ(realms.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        const int id = realms[i][0].toInt();
        EXPECT_EQ(id, i + 1);
        for (int k = 1; k <= 3; ++k)
            EXPECT_TRUE(realms[i][k].toInt() >= 0 && realms[i][k].toInt() <= 10) << "realm " << id;
        if (id != 8) {   // realm 8 is replaced by the player's choice before anything reads its statistics
            EXPECT_GT(realms[i][1].toInt(), 0) << "realm " << id;
            EXPECT_GT(realms[i][2].toInt(), 0) << "realm " << id;
        }
    }
    EXPECT_GT(realms[0][3].toInt(), 0) << "the arcane realm averages three statistics";
}

TEST_F(RulesData, ProgressionAndCostTextsParse)
{
    for (const auto &r : rows("SELECT Skill_Bonus_ID, Skill_Bonus FROM [Skill Bonus]"))
        EXPECT_TRUE(isProgression(r[1].toString())) << r[0].toInt() << ": " << qPrintable(r[1].toString());
    EXPECT_EQ(rows("SELECT Skill_Bonus FROM [Skill Bonus] WHERE Skill_Bonus_ID = 5").at(0)[0].toString(),
              QString::fromUtf8("0•0•0•0•0"));
    for (const auto &r : rows("SELECT Race_ID, Body, Channeling_PP, Essence_PP, Mentalism_PP FROM [Race Abilities]"))
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(isProgression(r[k].toString())) << "race " << r[0].toInt() << ": " << qPrintable(r[k].toString());
    for (const auto &r : rows("SELECT Profession_ID, Skill_Category_ID, Cost FROM [Skill Category DP Cost]"))
        EXPECT_TRUE(isCost(r[2].toString())) << r[0].toInt() << "/" << r[1].toInt() << ": " << qPrintable(r[2].toString());
    // The checks themselves must refuse what the readers cannot take.
    EXPECT_FALSE(isProgression(QString::fromUtf8("0•1•2•3")));
    EXPECT_FALSE(isProgression(QString::fromUtf8("0• 1•2•3•4")));
    EXPECT_FALSE(isCost("1/2/3/4"));
    EXPECT_FALSE(isCost(""));
}

TEST_F(RulesData, OneCostRowPerProfessionAndCategory)
{
    const auto profs = ids("SELECT Profession_ID FROM Profession");
    const auto cats = ids("SELECT Skill_Category_ID FROM [Skill Category]");
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Skill Category DP Cost]"), qint64(profs.size() * cats.size()));
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Skill Category DP Cost] c WHERE c.Profession_ID NOT IN "
                    "(SELECT Profession_ID FROM Profession) OR c.Skill_Category_ID NOT IN "
                    "(SELECT Skill_Category_ID FROM [Skill Category])"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT 1 FROM [Skill Category DP Cost] GROUP BY Profession_ID, "
                    "Skill_Category_ID HAVING COUNT(*) > 1)"), 0);
    // Languages must stay buyable in the language stages: two or three parts, each below 40.
    for (const auto &r : rows("SELECT Profession_ID, Cost FROM [Skill Category DP Cost] WHERE Skill_Category_ID = 14")) {
        const QStringList parts = r[1].toString().split('/');
        EXPECT_TRUE(parts.size() >= 2 && parts.size() <= 3) << r[0].toInt();
        for (const QString &p : parts)
            EXPECT_LT(p.toInt(), 40) << r[0].toInt();
    }
}

TEST_F(RulesData, CategoriesHoldTheirFixedSkills)
{
    const auto cats = ids("SELECT Skill_Category_ID FROM [Skill Category]");
    for (int c : {5, 12, 14, 28, 34, 35, 36, 37, 38, 39, 40, 41, 49, 50, 51, 52, 53, 54, 55})
        EXPECT_TRUE(cats.count(c)) << "category " << c;
    // 32 and 33 are never printed, 56 must not be found, and larger ids are chooser modes.
    for (qint64 c : cats)
        EXPECT_TRUE(c >= 1 && c <= 55 && c != 32 && c != 33) << "category " << c;

    auto skillsOf = [](int cat) {
        return ids(QString("SELECT Skill_ID FROM Skills WHERE Skill_Category_ID = %1").arg(cat));
    };
    EXPECT_EQ(skillsOf(12), (std::set<qint64>{23}));
    EXPECT_EQ(skillsOf(14), (std::set<qint64>{32, 33}));
    EXPECT_EQ(skillsOf(28), (std::set<qint64>{270, 271, 272}));
    for (int c = 34; c <= 41; ++c)
        EXPECT_EQ(skillsOf(c), (std::set<qint64>{c + 127})) << "spell-list category " << c;
    for (int c = 49; c <= 55; ++c)
        EXPECT_EQ(skillsOf(c), (std::set<qint64>{c + 177})) << "weapon category " << c;
    EXPECT_EQ(skillsOf(24), (std::set<qint64>{233, 234, 235, 236}));

    const auto skills = ids("SELECT Skill_ID FROM Skills");
    for (int s : {12, 34, 40, 116, 159, 256, 259})
        EXPECT_TRUE(skills.count(s)) << "skill " << s;

    EXPECT_EQ(count("SELECT Skill_Category_Bonus_ID FROM [Skill Category] WHERE Skill_Category_ID = 12"), 5);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Skills WHERE Skill_Category_ID NOT IN (SELECT Skill_Category_ID FROM "
                    "[Skill Category])"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Skill Category] WHERE Skill_Category_Bonus_ID NOT IN (SELECT "
                    "Skill_Bonus_ID FROM [Skill Bonus]) OR Skill_Bonus_ID NOT IN (SELECT Skill_Bonus_ID FROM [Skill Bonus])"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Skill Category] WHERE Stat_ID1 NOT BETWEEN 0 AND 10 OR Stat_ID2 NOT "
                    "BETWEEN 0 AND 10 OR Stat_ID3 NOT BETWEEN 0 AND 10"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Skills WHERE Stat_ID NOT BETWEEN 0 AND 10"), 0);
    // Enough printable skills to fill more than one printed page, and some of each kind.
    EXPECT_GE(count("SELECT COUNT(*) FROM Skills WHERE Skill_Category_ID NOT IN (12, 28, 32, 33, 34, 35, 36, 37, 38, "
                    "39, 40, 41, 49, 50, 51, 52, 53, 54, 55)"), 49);
    EXPECT_GE(count("SELECT COUNT(*) FROM Skills WHERE Subdivision = -1 AND Skill_Category_ID NOT IN (14, 34, 35, "
                    "36, 37, 38, 39, 40, 41, 49, 50, 51, 52, 53, 54, 55)"), 3);
    EXPECT_GE(count("SELECT COUNT(*) FROM Skills WHERE Restricted = -1"), 3);
    EXPECT_GE(count("SELECT COUNT(*) FROM Skills WHERE Restricted = -1 AND Skill_ID BETWEEN 226 AND 232"), 1);
}

TEST_F(RulesData, ProfessionsCoverEveryTabAndRealm)
{
    const auto profs = rows("SELECT Profession_ID, Realm_ID, SpellUsers_ID, Stat_ID1, Stat_ID2, Stat_ID3 FROM Profession");
    std::set<int> realmsUsed;
    for (const auto &p : profs) {
        const int realm = p[1].toInt();
        realmsUsed.insert(realm);
        EXPECT_TRUE((realm >= 2 && realm <= 11)) << "profession " << p[0].toInt() << " realm " << realm;
        for (int k = 3; k <= 5; ++k)
            EXPECT_TRUE(p[k].toInt() >= 0 && p[k].toInt() <= 10);
    }
    EXPECT_TRUE(realmsUsed.count(8)) << "one profession lets the player choose the realm";
    for (const char *tab : {"SpellUsers_ID=4 and Realm_ID=5", "SpellUsers_ID=4 and Realm_ID=7",
                            "SpellUsers_ID=4 and Realm_ID=2", "SpellUsers_ID=3", "SpellUsers_ID=2",
                            "SpellUsers_ID=1 OR SpellUsers_ID=0"})
        EXPECT_GE(count(QString("SELECT COUNT(*) FROM Profession WHERE ") + tab), 1) << tab;
    EXPECT_EQ(count("SELECT COUNT(*) FROM Profession WHERE Profession_ID = 12"), 1);
    // The prime-statistics query, with the blank its original text lacked.
    EXPECT_GE(rows("SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = 12 AND ( Stat_ID =Stat_ID1  or "
                   "Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );").size(), 2u);

    EXPECT_EQ(count("SELECT COUNT(*) FROM [Special Skills Profession & Bonus] WHERE Profession_ID NOT IN (SELECT "
                    "Profession_ID FROM Profession) OR (Skill_ID > 0 AND Skill_ID NOT IN (SELECT Skill_ID FROM Skills)) "
                    "OR (Skill_Category_ID > 0 AND Skill_Category_ID NOT IN (SELECT Skill_Category_ID FROM [Skill Category]))"), 0);
}

TEST_F(RulesData, RacesAndCulturesAreComplete)
{
    // A culture of race 1 or 2 lists both in name order and stores position + 1.
    const auto r12 = rows("SELECT RaceEn, RaceFr FROM [Race Abilities] WHERE Race_ID IN (1, 2) ORDER BY Race_ID");
    ASSERT_EQ(r12.size(), 2u);
    EXPECT_LT(platform::compareNames(r12[0][0].toString(), r12[1][0].toString()), 0);
    EXPECT_LT(platform::compareNames(r12[0][1].toString(), r12[1][1].toString()), 0);

    EXPECT_EQ(count("SELECT COUNT(*) FROM Culture WHERE Race_ID NOT IN (SELECT Race_ID FROM [Race Abilities])"), 0);
    EXPECT_GE(count("SELECT COUNT(*) FROM [Race Abilities] WHERE Race_ID NOT IN (SELECT Race_ID FROM Culture)"), 1);

    for (qint64 c : ids("SELECT Culture_ID FROM Culture")) {
        const QString n = QString::number(c);
        EXPECT_GE(count("SELECT COUNT(*) FROM [Adolescences Rank] WHERE Skill_ID = 0 AND Skill_Category_ID > 0 AND "
                        "Culture_ID = " + n), 1) << "culture " << c;
        EXPECT_EQ(count("SELECT COUNT(*) FROM [Adolescences Rank] WHERE Skill_ID = 32 AND Skill_Category_ID = 0 AND "
                        "Culture_ID = " + n), 1) << "culture " << c;
        EXPECT_GE(count("SELECT COUNT(*) FROM [Culture Languages] WHERE Culture_ID = " + n), 1) << "culture " << c;
        // The adolescence weapon chooser must offer at least one weapon for each weapon skill given.
        for (qint64 s : ids("SELECT Skill_ID FROM [Adolescences Rank] WHERE Skill_ID BETWEEN 226 AND 232 AND "
                            "Culture_ID = " + n))
            EXPECT_GE(count(QString("SELECT COUNT(*) FROM [Culture weapons] w JOIN [Weapons Type] t ON t.Weapon_ID = "
                                    "w.Weapon_ID WHERE w.Culture_ID = %1 AND t.Skill_ID = %2").arg(c).arg(s)), 1)
                << "culture " << c << " weapon skill " << s;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Adolescences Rank] WHERE (Skill_ID = 0) = (Skill_Category_ID = 0)"), 0)
        << "every adolescence row is either a category row or a skill row";
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Adolescences Rank] WHERE Culture_ID NOT IN (SELECT Culture_ID FROM "
                    "Culture) OR (Skill_ID > 0 AND Skill_ID NOT IN (SELECT Skill_ID FROM Skills)) OR "
                    "(Skill_Category_ID > 0 AND Skill_Category_ID NOT IN (SELECT Skill_Category_ID FROM [Skill Category]))"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Culture Languages] WHERE Language_ID NOT IN (SELECT Language_ID FROM "
                    "Language) OR Culture_ID NOT IN (SELECT Culture_ID FROM Culture)"), 0);
    EXPECT_GE(count("SELECT COUNT(*) FROM Language WHERE Language_ID NOT IN (SELECT Language_ID FROM [Culture Languages])"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Culture weapons] WHERE Weapon_ID NOT IN (SELECT Weapon_ID FROM Weapons)"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Special Skills Culture] WHERE SpecialSkill_ID NOT BETWEEN 1 AND 4 OR "
                    "Skill_ID NOT IN (SELECT Skill_ID FROM Skills)"), 0);
    // The chosen rows come first in the adolescence grid only because true is -1.
    const auto skillRows = rows("SELECT [Adolescences Rank].Choice FROM Skills INNER JOIN [Adolescences Rank] ON "
                                "Skills.Skill_ID = [Adolescences Rank].Skill_ID Where ((([Adolescences Rank].Culture_ID) "
                                "=1) And (([Adolescences Rank].Skill_ID) > 0)) ORDER BY [Adolescences Rank].Choice, "
                                " Skills.SkillFr;");
    ASSERT_GE(skillRows.size(), 2u);
    EXPECT_EQ(skillRows.front()[0].toInt(), -1);
    EXPECT_EQ(skillRows.back()[0].toInt(), 0);
}

TEST_F(RulesData, WeaponsBelongToOneWeaponSkillEach)
{
    EXPECT_EQ(count("SELECT COUNT(*) FROM Weapons WHERE Weapon_ID NOT IN (SELECT Weapon_ID FROM [Weapons Type])"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Weapons Type] WHERE Skill_ID NOT BETWEEN 226 AND 232 OR Weapon_ID NOT IN "
                    "(SELECT Weapon_ID FROM Weapons)"), 0);
    for (int s = 226; s <= 232; ++s)
        EXPECT_GE(count(QString("SELECT COUNT(*) FROM [Weapons Type] WHERE Skill_ID = %1").arg(s)), 3) << s;
}

TEST_F(RulesData, SpellListsFitTheRealmsAndProfessions)
{
    EXPECT_EQ(count("SELECT COUNT(*) FROM List WHERE Realm_ID NOT IN (1, 2, 3, 4, 5, 6, 7, 9, 10, 11)"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM List WHERE Realm_ID = 1 AND [Classification_ ID] = 1"),
              count("SELECT COUNT(*) FROM List WHERE Realm_ID = 1"));
    EXPECT_GE(count("SELECT COUNT(*) FROM List WHERE Realm_ID = 1"), 1);
    for (int realm : {2, 5, 7})
        for (int cls : {1, 2})
            EXPECT_GE(count(QString("SELECT COUNT(*) FROM List WHERE Realm_ID = %1 AND [Classification_ ID] = %2")
                                .arg(realm).arg(cls)), 1) << realm << "/" << cls;
    EXPECT_EQ(count("SELECT [Classification_ ID] FROM List WHERE List_ID = 12"), 1);
    EXPECT_GE(count("SELECT COUNT(*) FROM List WHERE length(ListEn) >= 24 AND length(ListFr) >= 24"), 1);

    // A base list of two professions would be listed twice among the other professions' lists.
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Base List] WHERE List_ID NOT IN (SELECT List_ID FROM List) OR "
                    "Profession_ID NOT IN (SELECT Profession_ID FROM Profession WHERE SpellUsers_ID >= 2)"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT List_ID FROM [Base List] GROUP BY List_ID HAVING COUNT(*) > 1)"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Profession WHERE SpellUsers_ID >= 2 AND Profession_ID NOT IN (SELECT "
                    "Profession_ID FROM [Base List])"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Base List] b JOIN List l ON l.List_ID = b.List_ID JOIN Profession p ON "
                    "p.Profession_ID = b.Profession_ID WHERE l.Realm_ID <> p.Realm_ID"), 0);
}

// Rows of one band table (or one type of it) ascend from "01" to the end row "100",
// and both the first two and the first three characters read as whole numbers.
void expectBands(const std::vector<Row> &rolls, const QString &what)
{
    ASSERT_GE(rolls.size(), 2u) << qPrintable(what);
    EXPECT_EQ(rolls.front()[0].toString(), "01") << qPrintable(what);
    EXPECT_EQ(rolls.back()[0].toString(), "100") << qPrintable(what);
    int previous = 0;
    for (const auto &r : rolls) {
        const QString roll = r[0].toString();
        bool ok2 = false, ok3 = false;
        const int low = roll.left(2).toInt(&ok2);
        roll.left(3).toInt(&ok3);
        EXPECT_TRUE(ok2 && ok3) << qPrintable(what) << " " << qPrintable(roll);
        const int bound = roll == "100" ? 100 : low;
        EXPECT_GT(bound, previous) << qPrintable(what) << " " << qPrintable(roll);
        previous = bound;
    }
}

TEST_F(RulesData, BandTablesAscendAndDegreesMatch)
{
    const auto degrees = rows("SELECT Degree_ID FROM [Talents Cost] ORDER BY rowid");
    const int d = int(degrees.size());
    ASSERT_TRUE(d >= 2 && d <= 9);
    for (int i = 0; i < d; ++i)
        EXPECT_EQ(degrees[i][0].toInt(), i + 1);
    EXPECT_GT(count("SELECT Random_Flaw FROM [Talents Cost] WHERE Degree_ID = 2"), 0);

    EXPECT_EQ(count(QString("SELECT COUNT(*) FROM Talents WHERE Type_ID NOT BETWEEN 1 AND %1").arg(d)), 0);
    EXPECT_EQ(count(QString("SELECT COUNT(*) FROM Flaws WHERE Type_ID NOT BETWEEN 0 AND %1").arg(d)), 0);
    for (int t = 1; t <= d; ++t)
        expectBands(rows(QString("SELECT Roll FROM Talents WHERE Type_ID = %1 ORDER BY rowid").arg(t)),
                    QString("talents of degree %1").arg(t));
    for (int t = 0; t <= d; ++t)
        expectBands(rows(QString("SELECT Roll FROM Flaws WHERE Type_ID = %1 ORDER BY rowid").arg(t)),
                    QString("flaws of type %1").arg(t));
    expectBands(rows("SELECT Roll FROM [Special Items] ORDER BY rowid"), "special items");
    EXPECT_EQ(count("SELECT COUNT(*) FROM [Special Items] WHERE Item1En IN ('', 'None')"), 0);

    for (const char *t : {"Talents", "Flaws"}) {
        const QString id = QString(t) + "_ID";
        EXPECT_EQ(count(QString("SELECT COUNT(*) FROM [%1 Bonus] WHERE %2 NOT IN (SELECT %2 FROM %1) OR Stat_ID NOT "
                                "BETWEEN 0 AND 10 OR (Skill_ID > 0 AND Skill_ID NOT IN (SELECT Skill_ID FROM Skills)) "
                                "OR (Skill_Category_ID > 0 AND Skill_Category_ID NOT IN (SELECT Skill_Category_ID "
                                "FROM [Skill Category]))").arg(t, id)), 0) << t;
        EXPECT_EQ(count(QString("SELECT COUNT(*) FROM [%1 Bonus] WHERE Skill_Category_ID = 0 AND Skill_ID = 0 AND "
                                "Stat_ID = 0").arg(t)), 0) << t << " bonus rows that write nowhere";
    }
}

TEST_F(RulesData, TrainingPackagesAreConsistent)
{
    static const QRegularExpression dice(QStringLiteral("^([1-9]d[0-9]+)?$"));
    for (const auto &r : rows("SELECT Training_ID, StartingMoney, Stat1, Stat2 FROM [Training Package]")) {
        EXPECT_TRUE(dice.match(r[1].toString()).hasMatch()) << r[0].toInt() << " " << qPrintable(r[1].toString());
        EXPECT_TRUE(r[2].toInt() >= 0 && r[2].toInt() <= 10 && r[3].toInt() >= 0 && r[3].toInt() <= 10);
        EXPECT_GE(count(QString("SELECT COUNT(*) FROM [Training special] WHERE Training_ID = %1").arg(r[0].toInt())), 1)
            << "package " << r[0].toInt() << " needs a special row";
    }
    for (qint64 p : ids("SELECT Profession_ID FROM Profession")) {
        const QString base = QString("SELECT COUNT(*) FROM [Training Package DP Cost] c JOIN [Training Package] t ON "
                                     "t.Training_ID = c.Training_ID WHERE c.Profession_ID = %1").arg(p);
        EXPECT_GE(count(base + " AND t.[Vocational/Lifestyle] = 'V'"), 1) << p;
        EXPECT_GE(count(base + " AND t.[Vocational/Lifestyle] = 'L'"), 1) << p;
        EXPECT_EQ(count(base + " AND c.Typical = -1"), 1) << p;
    }
    // Ranks are applied in stored order: every skill row follows a category row of its category
    // in the same package (a weapon skill follows its weapon category).
    const auto ranks = rows("SELECT r.Training_ID, r.Skill_Category_ID, r.Skill_ID, s.Skill_Category_ID FROM "
                            "[Training Skill Ranks] r LEFT JOIN Skills s ON s.Skill_ID = r.Skill_ID ORDER BY r.rowid");
    std::map<int, std::set<int>> seen;
    for (const auto &r : ranks) {
        const int pkg = r[0].toInt(), cat = r[1].toInt(), skill = r[2].toInt();
        EXPECT_NE(cat == 0, skill == 0) << "package " << pkg << ": a row is a category row or a skill row";
        if (cat > 0)
            seen[pkg].insert(cat);
        if (skill > 0) {
            ASSERT_FALSE(r[3].isNull()) << "package " << pkg << " names unknown skill " << skill;
            EXPECT_TRUE(seen[pkg].count(r[3].toInt())) << "package " << pkg << " skill " << skill;
        }
    }
    // The package list joins both tables: no column name may become ambiguous.
    EXPECT_TRUE(prepares("SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON "
                         "[Training Package].Training_ID =  [Training Package DP Cost].Training_ID WHERE "
                         "Profession_ID=1 ORDER BY TrainingFr"));
}

TEST_F(RulesData, ArmourAndShieldIdsFollowTheirPositions)
{
    const auto armour = rows("SELECT Armor_ID, MaxManeuvre, MinManeuvre FROM [Armor Modification] ORDER BY rowid");
    ASSERT_GE(armour.size(), 4u);
    ASSERT_LE(armour.size(), 31u);
    for (size_t i = 0; i < armour.size(); ++i)
        EXPECT_EQ(armour[i][0].toInt(), int(i) + 1);
    const auto shields = rows("SELECT Shield_ID FROM Shield ORDER BY rowid");
    ASSERT_GE(shields.size(), 4u);
    ASSERT_LE(shields.size(), 11u);
    for (size_t i = 0; i < shields.size(); ++i)
        EXPECT_EQ(shields[i][0].toInt(), int(i));
}

TEST_F(RulesData, EveryNameExistsInBothLanguages)
{
    for (const auto &[table, cols] : readColumns()) {
        const QStringList all = columns(table);
        for (const QString &en : all) {
            if (!en.endsWith("En"))
                continue;
            const QString fr = en.left(en.size() - 2) + "Fr";
            if (!all.contains(fr))
                continue;   // an English-only column, shown as it is in both languages
            const bool isNote = en.startsWith("Note") || table == "Culture";
            // A name must be present in both; a note may be absent, but then in both.
            const QString where = isNote ? QString("(COALESCE([%1], '') = '') <> (COALESCE([%2], '') = '')").arg(en, fr)
                                         : QString("COALESCE([%1], '') = '' OR COALESCE([%2], '') = ''").arg(en, fr);
            EXPECT_EQ(count(QString("SELECT COUNT(*) FROM [%1] WHERE %2").arg(table, where)), 0)
                << qPrintable(table) << "." << qPrintable(en) << "/" << qPrintable(fr);
        }
    }
    for (const char *sql : {"SELECT COUNT(*) FROM Culture WHERE CultureFr = ''",
                            "SELECT COUNT(*) FROM Talents WHERE TalentEn = ''",
                            "SELECT COUNT(*) FROM Flaws WHERE FlawEn = ''"})
        EXPECT_EQ(count(sql), 0) << sql;
}

TEST_F(RulesData, NamesSortAsAReaderExpects)
{
    // Every name column that lists sort by carries the folding collation, so ORDER BY
    // needs nothing more; check it on the largest lists in both languages.
    for (const char *col : {"SkillFr", "SkillEn"}) {
        const auto names = rows(QString("SELECT %1 FROM Skills ORDER BY %1").arg(col));
        for (size_t i = 1; i < names.size(); ++i)
            EXPECT_LE(platform::compareNames(names[i - 1][0].toString(), names[i][0].toString()), 0)
                << qPrintable(names[i - 1][0].toString()) << " before " << qPrintable(names[i][0].toString());
    }
    const auto fr = rows("SELECT SkillFr FROM Skills ORDER BY SkillFr");
    QStringList list;
    for (const auto &r : fr)
        list << r[0].toString();
    // An accented capital sorts among its letter, not after "Z".
    EXPECT_LT(list.indexOf(QString::fromUtf8("Équitation")), list.indexOf("Forge"));
    EXPECT_GT(list.indexOf(QString::fromUtf8("Équitation")), list.indexOf("Enseignement"));
}

TEST_F(RulesData, QueryTextsWithoutTheirMendsAreRefused)
{
    // What readers must adapt before SQLite takes it: a bare table name, and the
    // prime-statistics text that runs the id into AND.
    QString error;
    EXPECT_FALSE(prepares("Stat", &error));
    EXPECT_FALSE(prepares("SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = 12AND ( Stat_ID =Stat_ID1  "
                          "or Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );", &error));
    EXPECT_TRUE(error.contains("12AND")) << qPrintable(error);
}

} // namespace
