// The figure panels of the character sheet: statistics, resistances, and
// armour, shield and helmet.
#include "SheetFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace sheettest;

namespace {

int Box(QLineEdit *e)
{
    return e->text().toInt();
}

} // namespace

// ------------------------------------------------------------------ statistics

TEST_F(SheetTest, StatisticColumnsShowTheRecordAndTheRules)
{
    OpenRules();
    frmGeneral &w = Load();
    // CO: temporary 75 (bonus 2), potential 61, race 3, special 2.
    const QStringList co = {"75", "61", "2", "3", "2", "7"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(w.Stat_ID[CO][c]->text(), co[c]) << c;
    EXPECT_EQ(w.Stat_ID[In][3]->text(), QStringLiteral("4"));   // the race's "It" column
    EXPECT_EQ(w.Stat_ID[ST][2]->text(), QStringLiteral("12"));
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(Box(w.Stat_ID[s][5]), Box(w.Stat_ID[s][2]) + Box(w.Stat_ID[s][3]) + Box(w.Stat_ID[s][4])) << s;
        EXPECT_TRUE(w.Stat_ID[s][0]->isReadOnly());
        EXPECT_FALSE(w.Stat_ID[s][4]->isReadOnly());
    }
    // The bonus follows the record, not the text shown beside it.
    P().AddStat(0, SD, 95);
    w.Stat_ID[SD][4]->setText(QStringLiteral("1"));
    EXPECT_EQ(w.Stat_ID[SD][2]->text(), QStringLiteral("-5"));
    EXPECT_EQ(w.Stat_ID[SD][5]->text(), QStringLiteral("9"));   // bonus 7 + race 1 + 1
}

TEST_F(SheetTest, ATypedSpecialBonusIsStoredAtOnceAndKeepsItsText)
{
    OpenRules();
    frmGeneral &w = Load();
    struct Case {
        const char *typed;
        qint16 stored;
    };
    const Case cases[] = {
        {"abc", 0}, {"12abc", 12}, {" 1 2", 12}, {"+5", 5}, {"1,5", 1}, {"0.5", 0},
        {"1.5", 2}, {"2.5", 2},    {"3.5", 4},   {"-2.5", -2}, {"&H10", 16}, {"", 0},
    };
    for (const Case &c : cases) {
        w.Stat_ID[CO][4]->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(P().DirStats(2, CO), c.stored) << c.typed;
        EXPECT_EQ(w.Stat_ID[CO][4]->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(Box(w.Stat_ID[CO][5]), 2 + 3 + c.stored) << c.typed;
    }
    // Key by key: the lone minus stores 0, the digit -5.
    w.Stat_ID[CO][4]->clear();
    QTest::keyClicks(w.Stat_ID[CO][4], QStringLiteral("-"));
    EXPECT_EQ(P().DirStats(2, CO), 0);
    QTest::keyClicks(w.Stat_ID[CO][4], QStringLiteral("5"));
    EXPECT_EQ(P().DirStats(2, CO), -5);
    EXPECT_EQ(w.Stat_ID[CO][5]->text(), QStringLiteral("0"));
    // Beyond 16 bits the record holds what it held when the typing began.
    w.Stat_ID[CO][4]->setText(QStringLiteral("40000"));
    EXPECT_EQ(P().DirStats(2, CO), 0);
    // No other row moved, and no resistance either.
    EXPECT_EQ(w.Stat_ID[AG][5]->text(), QStringLiteral("3"));
    EXPECT_EQ(P().DirStats(2, AG), 1);
    EXPECT_EQ(w.Resistance[8][3]->text(), QStringLiteral("21"));   // 3 x 2 + 10 + 5
}

// ------------------------------------------------------------------ resistances

TEST_F(SheetTest, ResistancesAreFilledInTheirOrderWithTheirParts)
{
    OpenRules();
    std::vector<int> order;
    sheet = std::make_unique<frmGeneral>();
    sheet->setTag(QStringLiteral("1"));
    for (int kind = 1; kind <= 9; ++kind)
        QObject::connect(sheet->Resistance[kind][0], &QLineEdit::textChanged,
                         [&order, kind] { order.push_back(kind); });
    frmGeneral &w = Load();
    EXPECT_EQ(order, (std::vector<int>{5, 7, 2, 3, 4, 6, 1, 8, 9}));

    // B(EM) 5, B(In) 3, B(Pr) -2, B(CO) 2, B(SD) -5.
    const int statPart[10] = {0, 6, 9, 8, 1, 15, 3, -6, 6, -15};
    // Ess 5, Chan -4, Ment 0, Pois 10, Fear -5.
    const int racePart[10] = {0, 0, -4, 0, -2, 5, 2, 0, 10, -5};
    for (int kind = 1; kind <= 9; ++kind) {
        auto &row = w.Resistance[kind];
        EXPECT_EQ(Box(row[0]), statPart[kind]) << kind;
        EXPECT_EQ(Box(row[1]), racePart[kind]) << kind;
        EXPECT_EQ(Box(row[2]), kind - 3) << kind;
        EXPECT_EQ(Box(row[3]), statPart[kind] + racePart[kind] + kind - 3) << kind;
    }

    // Averaged race parts drop their remainder toward zero.
    P().Race_ID = 2;   // Ess -5, Chan 0, Ment 3
    Load();
    EXPECT_EQ(w.Resistance[3][1]->text(), QStringLiteral("-2"));
    EXPECT_EQ(w.Resistance[6][1]->text(), QStringLiteral("-1"));
    P().Race_ID = 3;   // Ess 10, Ment 10, Chan 5
    Load();
    EXPECT_EQ(w.Resistance[1][1]->text(), QStringLiteral("8"));
}

TEST_F(SheetTest, ATypedResistanceBonusChangesItsOwnTotalOnly)
{
    OpenRules();
    frmGeneral &w = Load();
    QStringList before;
    for (int kind = 1; kind <= 9; ++kind)
        for (int e = 0; e < 4; ++e)
            before << w.Resistance[kind][e]->text();

    w.Resistance[5][2]->setText(QStringLiteral("12abc"));
    EXPECT_EQ(P().DirResistanceSpecial(5), 12);
    EXPECT_EQ(w.Resistance[5][2]->text(), QStringLiteral("12abc"));
    EXPECT_EQ(w.Resistance[5][3]->text(), QStringLiteral("32"));   // 15 + 5 + 12
    for (int kind = 1; kind <= 9; ++kind)
        for (int e = 0; e < 4; ++e)
            if (!(kind == 5 && e >= 2))
                EXPECT_EQ(w.Resistance[kind][e]->text(), before[(kind - 1) * 4 + e]) << kind << e;

    struct Case {
        const char *typed;
        qint16 stored;
    };
    for (const Case &c : {Case{" 1 2", 12}, Case{"2,5", 2}, Case{"2.5", 2}, Case{"3.5", 4}, Case{"&H10", 16},
                          Case{"", 0}, Case{"-", 0}, Case{"-7", -7}}) {
        w.Resistance[9][2]->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(P().DirResistanceSpecial(9), c.stored) << c.typed;
        EXPECT_EQ(Box(w.Resistance[9][3]), -15 - 5 + c.stored) << c.typed;
    }
    w.Resistance[9][2]->setText(QStringLiteral("99999"));
    EXPECT_EQ(P().DirResistanceSpecial(9), -7);

    Load();
    EXPECT_EQ(w.Resistance[5][2]->text(), QStringLiteral("12"));
}

// ------------------------------------------------------------------ armour, shield and helmet

TEST_F(SheetTest, TheManeuverFigureFollowsTheArmourAndItsSkill)
{
    struct Case {
        const char *change;
        qint32 armure;
        qint16 plateBonus;
        const char *shown;
    };
    const Case cases[] = {
        {nullptr, 3, 25, "0"},
        {"UPDATE [Armor Modification] SET MinManeuvre = -10 WHERE Armor_ID = 3;", 3, 25, "-10"},
        {nullptr, 14, 25, "-45"},
        {nullptr, 14, 75, "-10"},
        {nullptr, 25, 25, "0"},
    };
    for (const Case &c : cases) {
        OpenRules(c.change);
        P().Armure = c.armure;
        P().AddSkill(Personnage::fSpecial1, 2, RankKind::Skill, c.plateBonus);
        frmGeneral &w = Load();
        EXPECT_EQ(w.txtArmure[0]->text(), QString::fromLatin1(c.shown)) << c.armure << " " << c.plateBonus;
        EXPECT_EQ(w.lstArmor->currentIndex(), c.armure - 1);
        EXPECT_EQ(P().Armure, c.armure);
    }
    // Missile figure with its sign turned, quickness and protection as stored.
    frmGeneral &w = *sheet;
    w.lstArmor->setCurrentIndex(13);
    EXPECT_EQ(w.txtArmure[1]->text(), QStringLiteral("-15"));
    EXPECT_EQ(w.txtArmure[2]->text(), QStringLiteral("-15"));
    EXPECT_TRUE(w.chkProtection->isChecked());
    w.lstArmor->setCurrentIndex(5);
    EXPECT_EQ(w.txtArmure[1]->text(), QStringLiteral("5"));
    EXPECT_FALSE(w.chkProtection->isChecked());
    w.lstArmor->setCurrentIndex(0);
    EXPECT_EQ(w.txtArmure[1]->text(), QStringLiteral("0"));
}

TEST_F(SheetTest, ArmourAndShieldPicksAreStoredByPosition)
{
    OpenRules();
    P().Armure = 0;
    P().Bouclier = 0;
    frmGeneral &w = Load();
    EXPECT_EQ(w.lstArmor->count(), 25);
    EXPECT_EQ(w.lstArmor->itemText(0), QStringLiteral("Vêtements"));
    EXPECT_EQ(w.lstArmor->currentIndex(), 0);
    EXPECT_EQ(P().Armure, 1);
    EXPECT_EQ(w.lstShield->currentIndex(), 0);
    EXPECT_EQ(P().Bouclier, 0);

    w.lstShield->setCurrentIndex(3);
    EXPECT_EQ(P().Bouclier, 3);
    EXPECT_EQ(w.txtShield[0]->text(), QStringLiteral("15"));
    EXPECT_EQ(w.txtShield[1]->text(), QStringLiteral("15"));
    w.lstArmor->setCurrentIndex(3);
    EXPECT_EQ(P().Armure, 4);

    // A reload neither doubles the lists nor loses the choices.
    Load();
    EXPECT_EQ(w.lstArmor->count(), 25);
    EXPECT_EQ(w.lstShield->count(), 5);
    EXPECT_EQ(w.lstArmor->currentIndex(), 3);
    EXPECT_EQ(w.lstShield->currentIndex(), 3);
}

TEST_F(SheetTest, AStoredChoiceOutsideTheListsSelectsNothingAndTheSheetStillLoads)
{
    OpenRules();
    P().Armure = 40;
    P().Bouclier = 11;
    P().Casque = 11;
    frmGeneral &w = Load();
    EXPECT_EQ(w.lstArmor->currentIndex(), -1);
    EXPECT_EQ(w.lstShield->currentIndex(), -1);
    EXPECT_TRUE(w.txtArmure[0]->text().isEmpty());
    EXPECT_EQ(P().Armure, 40);
    EXPECT_EQ(P().Bouclier, 11);
    EXPECT_TRUE(w.chkCasque[0]->isChecked());
    EXPECT_TRUE(w.chkCasque[1]->isChecked());
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ProgressClose), 1);
}

TEST_F(SheetTest, HelmetBoxesMakeTheHelmetCode)
{
    OpenRules();
    for (qint32 code : {0, 1, 10, 11}) {
        P().Casque = code;
        frmGeneral &w = Load();
        EXPECT_EQ(w.chkCasque[0]->isChecked(), code / 10 == 1) << code;
        EXPECT_EQ(w.chkCasque[1]->isChecked(), code % 10 == 1) << code;
        EXPECT_EQ(P().Casque, code);
    }
    frmGeneral &w = *sheet;
    const struct {
        bool leather, metal;
        qint32 code;
    } ticks[] = {{false, true, 1}, {true, false, 10}, {true, true, 11}, {false, false, 0}};
    for (const auto &t : ticks) {
        w.chkCasque[0]->setChecked(t.leather);
        w.chkCasque[1]->setChecked(t.metal);
        EXPECT_EQ(P().Casque, t.code);
    }
}
