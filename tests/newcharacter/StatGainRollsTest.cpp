// The statistic gain rolls: the gain rule, its cut at the potential, the dice
// the dialog rolls itself, bad dice and what reaches the record.
#include "NewCharFixture.h"

#include "character/Players.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Kind = ScriptedPorts::Kind;

class StatGainRollsTest : public NewCharFixture {
protected:
    int n = 0;
    void SetUp() override
    {
        NewCharFixture::SetUp();
        n = newCharacter();
    }
    void stat(int i, int t, int p)
    {
        ModGeneral::Players(n).AddStat(0, static_cast<qint16>(i), static_cast<qint16>(t));
        ModGeneral::Players(n).AddStat(1, static_cast<qint16>(i), static_cast<qint16>(p));
    }
    // A dialog with only statistic 0 taking part.
    // The dialog with the first `rows` statistics taking part.
    void firstRows(frmStatGainRolls &dlg, int rows)
    {
        for (int i = rows; i < 10; ++i)
            dlg.DisableRow(i);
        setTag(&dlg, QString::number(n));
        dlg.LoadData();
    }
    void oneRow(frmStatGainRolls &dlg) { firstRows(dlg, 1); }
    int temporary(int i) { return ModGeneral::Players(n).DirStats(0, static_cast<qint16>(i)); }
};

TEST_F(StatGainRollsTest, GainRuleAndItsCut)
{
    struct Case {
        int t, p, d1, d2;
        QString shown;
        int stored;
    } cases[] = {
        {50, 80, 4, 7, QStringLiteral("11"), 61},   // diff above 20: both dice
        {50, 55, 4, 7, QStringLiteral(" 4"), 54},   // diff 10 or less: the lower die as typed
        {50, 55, 9, 8, QStringLiteral("5"), 55},    // cut to the potential
        {70, 85, 2, 9, QStringLiteral(" 9"), 79},   // diff 11 to 20: the higher die
        {70, 85, 3, 3, QStringLiteral("-3"), 67},   // low doubles lose, whatever the diff
        {70, 75, 7, 7, QStringLiteral("5"), 75},    // high doubles: 14, cut
        {40, 80, 7, 7, QStringLiteral("14"), 54},
        {60, 60, 8, 2, QStringLiteral("0"), 60},    // at the potential: no gain
        {60, 60, 2, 2, QStringLiteral("-2"), 58},   // ...but doubles below 6 still lower it
        {60, 60, -3, -3, QStringLiteral("0"), 60}, // doubles typed below zero gain, and are cut
        {60, 55, 9, 4, QStringLiteral("0"), 60},    // potential below the value: a gain never lowers it
        {60, 55, 4, 4, QStringLiteral("-4"), 56},   // a loss is a loss
    };
    for (const Case &c : cases) {
        stat(0, c.t, c.p);
        frmStatGainRolls dlg;
        oneRow(dlg);
        EXPECT_EQ(dlg.txtStatisticsT[0]->text(), QString::number(c.t));
        EXPECT_EQ(dlg.txtStatisticsP[0]->text(), QString::number(c.p));
        dlg.txtDie[0]->setText(vb::Str(c.d1));
        dlg.txtDie[10]->setText(vb::Str(c.d2));
        dlg.bntCalcul_Click();
        EXPECT_EQ(dlg.txtResultat[0]->text(), c.shown) << c.t << "/" << c.p << " " << c.d1 << "," << c.d2;
        dlg.btnOk_Click();
        EXPECT_EQ(temporary(0), c.stored) << c.t << "/" << c.p << " " << c.d1 << "," << c.d2;
        EXPECT_EQ(ModGeneral::Players(n).DirStats(1, 0), c.p);   // the potential never changes
    }
}

TEST_F(StatGainRollsTest, GainRuleAtTheEdgesOfItsBands)
{
    struct Case {
        int t, p, d1, d2, stored;
    } cases[] = {
        {40, 80, 6, 6, 52},   // the lowest doubles that gain: 12
        {50, 60, 3, 8, 53},   // diff exactly 10: the lower die
        {50, 70, 3, 8, 58},   // diff exactly 20: the higher die
        {50, 71, 3, 8, 61},   // diff 21: both dice
    };
    for (const Case &c : cases) {
        stat(0, c.t, c.p);
        frmStatGainRolls dlg;
        oneRow(dlg);
        dlg.txtDie[0]->setText(vb::Str(c.d1));
        dlg.txtDie[10]->setText(vb::Str(c.d2));
        dlg.btnOk_Click();
        EXPECT_EQ(temporary(0), c.stored) << c.t << "/" << c.p << " " << c.d1 << "," << c.d2;
    }
}

TEST_F(StatGainRollsTest, LeftOutStatisticsGetNoDiceAndKeepTheirValue)
{
    for (int i = 0; i < 10; ++i)
        stat(i, 40 + i, 90);
    frmStatGainRolls dlg;
    for (int i = 0; i < 10; ++i)
        if (i != 3 && i != 7)
            dlg.DisableRow(i);
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    EXPECT_EQ(dlg.Statistics[0]->text(), QStringLiteral("Agilité"));
    d10({2, 6, 5, 1});   // boxes 3, 7, 13, 17: row 3 gets 2 and 5, row 7 gets 6 and 1
    dlg.btnRandom_Click();
    EXPECT_FALSE(dlg.btnRandom->isEnabled());   // once per opening
    EXPECT_TRUE(dlg.txtDie[0]->text().isEmpty());
    EXPECT_EQ(dlg.txtResultat[3]->text(), QStringLiteral("7"));
    EXPECT_EQ(dlg.txtResultat[7]->text(), QStringLiteral("7"));
    dlg.btnOk_Click();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(temporary(i), i == 3 ? 50 : i == 7 ? 54 : 40 + i) << i;
}

TEST_F(StatGainRollsTest, AnyDieChangeEmptiesEveryGainAndOkComputesAgain)
{
    stat(0, 50, 80);
    stat(1, 50, 80);
    frmStatGainRolls dlg;
    firstRows(dlg, 2);
    dlg.txtDie[0]->setText(QStringLiteral("4"));
    dlg.txtDie[10]->setText(QStringLiteral("7"));
    dlg.txtDie[1]->setText(QStringLiteral("1"));
    dlg.txtDie[11]->setText(QStringLiteral("2"));
    dlg.bntCalcul_Click();
    EXPECT_EQ(dlg.txtResultat[1]->text(), QStringLiteral("3"));
    dlg.txtDie[10]->setText(QStringLiteral("8"));
    EXPECT_TRUE(dlg.txtResultat[0]->text().isEmpty());
    EXPECT_TRUE(dlg.txtResultat[1]->text().isEmpty());
    dlg.btnOk_Click();
    EXPECT_EQ(temporary(0), 62);
    EXPECT_EQ(temporary(1), 53);
}

TEST_F(StatGainRollsTest, MissingDiceAreRolledBeforeAnyGainIsComputed)
{
    stat(0, 50, 80);
    frmStatGainRolls dlg;
    oneRow(dlg);
    dlg.txtDie[0]->setText(QStringLiteral("3"));   // the second die is left empty
    d10({9});
    dlg.btnOk_Click();
    EXPECT_EQ(dlg.txtDie[10]->text(), QStringLiteral(" 9"));
    EXPECT_EQ(temporary(0), 62);
    EXPECT_EQ(Dice::scriptRemaining(), 0);
}

TEST_F(StatGainRollsTest, AnyWholeNumberIsADieAndOnlyOtherTextIsRefused)
{
    // T 50, P 80: both dice count, whatever a real die could show, as far as
    // a 16-bit figure goes.
    for (const auto &[die, stored] : {std::pair{"0", 55}, {"11", 66}, {"-3", 52}, {"32767", 80}}) {
        stat(0, 50, 80);
        frmStatGainRolls dlg;
        oneRow(dlg);
        dlg.txtDie[0]->setText(QString::fromLatin1(die));
        dlg.txtDie[10]->setText(QStringLiteral("5"));
        dlg.btnOk_Click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << die;
        EXPECT_EQ(temporary(0), stored) << die;
    }
    // Other text is refused, by Calcul as by OK, naming the statistics whose
    // dice they are and the range of a die.
    struct Refused {
        const char *agility, *constitution;
        bool ok;
        QString said;
    } refused[] = {
        {"x", "4", false, QStringLiteral("Agilité : chaque dé doit être un nombre entier entre -32768 et 32767.")},
        {"32768", "4", true,
         QStringLiteral("Agilité : chaque dé doit être un nombre entier entre -32768 et 32767 avant que les gains soient enregistrés.")},
        {"99999", "-32769", true,
         QStringLiteral("Agilité, Constitution : chaque dé doit être un nombre entier entre -32768 et 32767 avant que les gains "
                        "soient enregistrés.")},
    };
    for (const Refused &r : refused) {
        stat(0, 50, 80);
        stat(1, 50, 80);
        frmStatGainRolls dlg;
        firstRows(dlg, 2);
        dlg.txtDie[0]->setText(QString::fromLatin1(r.agility));
        dlg.txtDie[1]->setText(QString::fromLatin1(r.constitution));
        dlg.txtDie[10]->setText(QStringLiteral("5"));
        dlg.txtDie[11]->setText(QStringLiteral("5"));
        ui->answerMsgBox(ports::Ok, r.said);
        if (r.ok)
            dlg.btnOk_Click();
        else
            dlg.bntCalcul_Click();
        EXPECT_NE(dlg.result(), QDialog::Accepted) << r.agility;
        EXPECT_TRUE(dlg.txtResultat[0]->text().isEmpty()) << r.agility;
        EXPECT_EQ(temporary(0), 50) << r.agility;
        dlg.txtDie[0]->setText(QStringLiteral("6"));
        dlg.txtDie[1]->setText(QStringLiteral("4"));
        dlg.btnOk_Click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << r.agility;
        EXPECT_EQ(temporary(0), 61) << r.agility;
    }
}

TEST_F(StatGainRollsTest, LeavingTheWindowStoresTheGains)
{
    stat(0, 50, 80);
    frmStatGainRolls dlg;
    oneRow(dlg);
    dlg.show();
    dlg.txtDie[0]->setText(QStringLiteral("4"));
    dlg.txtDie[10]->setText(QStringLiteral("4"));
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(temporary(0), 46);
    dlg.close();   // a second close stores nothing more
    EXPECT_EQ(temporary(0), 46);
}

} // namespace
