// The statistics window: costs, the point pool and its dice, the checks that
// end the first phase, the potential formulas and rolls, and the hand-over to
// the identity dialog and the language stage.
#include "NewCharFixture.h"

#include "character/Players.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmStatChoises.h"
#include "platform/Strings.h"
#include "skilldev/frmSkillDev.h"
#include "support/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {

using Kind = ScriptedPorts::Kind;

class StatChoisesTest : public NewCharFixture {
protected:
    int n = 0;
    QPointer<frmStatChoises> w;
    void SetUp() override
    {
        NewCharFixture::SetUp();
        n = newCharacter();
    }
    void TearDown() override
    {
        delete w.data();
        NewCharFixture::TearDown();
    }
    // The window as the profession page opens it, for a profession.
    frmStatChoises &open(qint32 profession, qint32 culture = 1)
    {
        Personnage &p = ModGeneral::Players(n);
        p.Profession_ID = profession;
        p.Culture_ID = culture;
        p.Race_ID = 1;
        w = new frmStatChoises;
        w->setTag(QString::number(n));
        w->LoadData();
        return *w;
    }
    static void setDice(frmStatChoises &s, const QString &each)
    {
        for (QLineEdit *die : s.tbDieRollT)
            die->setText(each);
    }
};

TEST_F(StatChoisesTest, CostsAndPotentialFormulasAtTheirEdges)
{
    for (const auto &[t, cost] : std::vector<std::pair<int, int>>{
             {10, 10}, {50, 50}, {90, 90}, {91, 91}, {95, 115}, {100, 190}, {102, 234}})
        EXPECT_EQ(frmStatChoises::CostOf(t), cost) << t;
    for (const auto &[t, formula] : std::vector<std::pair<int, const char *>>{
             {10, "20 + 8d10"}, {24, "20 + 8d10"}, {25, "30 + 7d10"}, {54, "50 + 5d10"}, {84, "80 + 2d10"},
             {85, "90 + 1d10"}, {91, "90 + 1d10"}, {92, "91 + 1d9"}, {95, "94 + 1d6"}, {99, "98 + 1d2"},
             {100, "99 + 1d2"}, {101, "99 + 1d2"}, {102, "99 + 1d2"}})
        EXPECT_EQ(frmStatChoises::PotentialFormula(t), QString::fromLatin1(formula)) << t;

    frmStatChoises &s = open(0);
    s.sldStatistics[4]->setValue(100);
    EXPECT_EQ(s.txtStatisticsT[4]->text(), QStringLiteral("100"));
    EXPECT_EQ(s.txtCost[4]->text(), QStringLiteral(" 190"));
    EXPECT_EQ(s.SelLength(4), 90);
    EXPECT_EQ(s.tbStatPointsTotal[1]->text(), QStringLiteral(" 640"));   // nine at 50, one at 100
}

TEST_F(StatChoisesTest, PrimesAreMarkedAndStartAtNinety)
{
    frmStatChoises &s = open(12);   // primes: AG, Re and Qu
    EXPECT_EQ(s.Statistics[0]->text(), QStringLiteral("Agilité"));
    for (int i = 0; i < 10; ++i) {
        const bool prime = i == 0 || i == 3 || i == 8;
        EXPECT_EQ(s.Statistics[i]->font().bold(), prime) << i;
        EXPECT_EQ(s.sldStatistics[i]->value(), prime ? 90 : 50) << i;
        EXPECT_EQ(s.txtBonus[i]->text(), prime ? QStringLiteral("5") : QStringLiteral("0")) << i;   // (90 - 80) / 2
    }
    EXPECT_EQ(s.Statistics[0]->font().pointSize(), 11);
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("600"));
    EXPECT_EQ(s.tbStatPointsTotal[1]->text(), QStringLiteral(" 620"));

    frmStatChoises noNumber;   // a window without its character shows no bonus
    noNumber.sldStatistics[0]->setValue(95);
    EXPECT_EQ(noNumber.txtBonus[0]->text(), QStringLiteral("0"));
}

TEST_F(StatChoisesTest, PoolDiceAreKeptFromOneToTenAndRolledOnce)
{
    frmStatChoises &s = open(0);
    s.tbDieRollT[0]->setText(QStringLiteral("12"));
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("612"));
    s.tbDieRollT_LostFocus(0);
    EXPECT_EQ(s.tbDieRollT[0]->text(), QStringLiteral("10"));
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("610"));
    for (const char *low : {"0", "", "abc", "-4"}) {
        s.tbDieRollT[1]->setText(QString::fromLatin1(low));
        s.tbDieRollT_LostFocus(1);
        EXPECT_EQ(s.tbDieRollT[1]->text(), QStringLiteral("1")) << low;
    }
    s.tbDieRollT[2]->setText(QStringLiteral("1.5"));   // 12.5: the running sum rounds half to even
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("612"));

    d10({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    s.btnRandom_Click(0);
    EXPECT_EQ(s.tbDieRollT[9]->text(), QStringLiteral(" 10"));
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("655"));
    EXPECT_FALSE(s.btnRandom[0]->isEnabled());
    s.tbDieRollT[0]->setText(QStringLiteral("4"));   // typed dice still count
    EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("658"));
}

TEST_F(StatChoisesTest, ValueBoxTakesANumberAndKeepsItInRange)
{
    frmStatChoises &s = open(0);
    EXPECT_TRUE(s.txtStatisticsT[0]->isReadOnly());
    for (const auto &[answer, value] : std::vector<std::pair<const char *, int>>{
             {"75", 75}, {"150", 102}, {"3", 10}, {"", 10}, {"abc", 10}, {"64.5", 64}, {"32768", 102},
             {"-32769", 10}, {"1e5", 102}, {"-99999999999", 10}, {"1e999", 102}}) {
        ui->answerInput(QString::fromLatin1(answer), QStringLiteral("Entrez la valeur voulue."));
        s.txtStatisticsT_Click(0);
        EXPECT_EQ(s.sldStatistics[0]->value(), value) << answer;
        EXPECT_EQ(s.txtStatisticsT[0]->text(), QString::number(value)) << answer;
    }
}

TEST_F(StatChoisesTest, FirstPhaseEndsOnlyWithinThePoolAndWithPrimesAtNinety)
{
    frmStatChoises &s = open(12);
    setDice(s, QStringLiteral("2"));   // pool 620, exactly what is spent
    s.sldStatistics[1]->setValue(51);
    ui->answerMsgBox(ports::Ok, Strings::Load(5027) + QStringLiteral(" 620"));
    s.btnNext_Click();
    EXPECT_EQ(s.Phase(), QStringLiteral("Temporaire"));
    EXPECT_EQ(ui->calls().back().style, ports::OkOnly | ports::Exclamation);
    EXPECT_EQ(ui->calls().back().title, Strings::Load(1037));

    s.sldStatistics[1]->setValue(50);
    s.sldStatistics[0]->setValue(80);
    s.sldStatistics[3]->setValue(85);
    ui->answerMsgBox(ports::Ok, Strings::Load(5063));   // once for both primes
    s.btnNext_Click();
    EXPECT_EQ(s.Phase(), QStringLiteral("Temporaire"));
    EXPECT_EQ(ui->count(Kind::MsgBox), 2);

    s.sldStatistics[0]->setValue(90);
    s.sldStatistics[3]->setValue(90);
    s.btnNext_Click();
    EXPECT_EQ(s.Phase(), QStringLiteral("Potentiel"));
    EXPECT_EQ(s.labCarateristique->text(), Strings::Load(3043));
    EXPECT_TRUE(s.sldStatistics[0]->isHidden());
    EXPECT_FALSE(s.txtStatisticsT[0]->isEnabled());
    EXPECT_FALSE(s.txtStatisticsP[0]->isHidden());
    EXPECT_TRUE(s.btnRandom[0]->isHidden());
    EXPECT_FALSE(s.btnRandom[1]->isHidden());
    EXPECT_EQ(s.labDieRollP[0]->text(), QStringLiteral("90 + 1d10"));
    EXPECT_EQ(s.labDieRollP[1]->text(), QStringLiteral("50 + 5d10"));
}

TEST_F(StatChoisesTest, PotentialRollsNeverFallBelowTheTemporaryValue)
{
    frmStatChoises &s = open(0);
    setDice(s, QStringLiteral("10"));
    s.sldStatistics[0]->setValue(102);
    s.sldStatistics[1]->setValue(24);
    s.btnNext_Click();
    ASSERT_EQ(s.Phase(), QStringLiteral("Potentiel"));
    std::vector<std::pair<int, int>> rolls{{2, 1}};   // 99 + 1 = 100, below 102
    for (int i = 0; i < 8; ++i)
        rolls.emplace_back(10, 1);                    // 20 + 8 = 28, above 24
    for (int i = 0; i < 8 * 5; ++i)
        rolls.emplace_back(10, 2);                    // 50 + 10 = 60
    dice(rolls);
    s.btnRandom_Click(1);
    EXPECT_EQ(Dice::scriptRemaining(), 0);
    EXPECT_EQ(s.txtStatisticsP[0]->text(), QStringLiteral("102"));
    EXPECT_EQ(s.txtStatisticsP[1]->text(), QStringLiteral(" 28"));
    EXPECT_EQ(s.txtStatisticsP[9]->text(), QStringLiteral(" 60"));
    EXPECT_FALSE(s.btnRandom[1]->isEnabled());
}

TEST_F(StatChoisesTest, HandOverStoresBothValuesAsksIdentityAndOpensTheLanguageStage)
{
    frmStatChoises &s = open(12, 1);
    setDice(s, QStringLiteral("2"));
    s.btnNext_Click();
    ASSERT_EQ(s.Phase(), QStringLiteral("Potentiel"));
    for (int i = 0; i < 10; ++i)
        s.txtStatisticsP[i]->setText(QString::number(95));
    s.txtStatisticsP[2]->setText(QStringLiteral("abc"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("nombre entier"));
    s.btnNext_Click();   // refused before anything is stored
    EXPECT_EQ(ModGeneral::Players(n).DirStats(0, 0), 0);

    s.txtStatisticsP[2]->setText(QStringLiteral("40"));   // below its temporary 50: stored as typed
    s.txtStatisticsP[6]->clear();
    QTest::keyClicks(s.txtStatisticsP[6], QStringLiteral("150"));   // past the scale: stored as typed
    ModalDriver driver;
    driver.then([](QWidget *dlg) {
        auto *identity = qobject_cast<frmCharacter *>(dlg);
        ASSERT_NE(identity, nullptr);
        EXPECT_EQ(identity->windowTitle(), Strings::Load(3541));
        identity->txtNom->setText(QStringLiteral("Mirella"));
        identity->bntOk->click();
    });
    ui->answerMsgBox(ports::Ok, Strings::Load(5028));
    ui->allowUnused();
    s.btnNext_Click();
    EXPECT_TRUE(driver.allStepsRan());

    Personnage &p = ModGeneral::Players(n);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(p.DirStats(0, static_cast<qint16>(i)), (i == 0 || i == 3 || i == 8) ? 90 : 50) << i;
        EXPECT_EQ(p.DirStats(1, static_cast<qint16>(i)), i == 2 ? 40 : i == 6 ? 150 : 95) << i;
    }
    EXPECT_EQ(p.Nom, QStringLiteral("Mirella"));
    EXPECT_GT(p.NbSkill, 0);   // the adolescence ranks went in

    auto *skill = qobject_cast<frmSkillDev *>(SkillDevForms.peek(n));
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->Number(), n);
    EXPECT_EQ(skill->StageMarker(), QStringLiteral("Linguistique"));
    EXPECT_EQ(skill->labDevlopment[13]->text(), Strings::Load(3075));
    EXPECT_EQ(skill->labPD->text(), QStringLiteral("3"));   // the culture's ranks of skill 32
    EXPECT_EQ(skill->labPD->property("Tag").toString(), QStringLiteral("Ranks"));
    EXPECT_TRUE(skill->btnEnd->isEnabled());
    EXPECT_EQ(ModGeneral::SkillDevMode, QStringLiteral("Langue"));
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().title, Strings::Load(5029));
    EXPECT_TRUE(s.isUnloaded());
}

// Closing the window before the hand-over asks whether to give the character
// up. Given up while a later character stays open, its record goes and its
// number is the next new character's.
TEST_F(StatChoisesTest, ClosingAsksWhetherToGiveTheCharacterUp)
{
    frmStatChoises &s = open(12, 1);
    ModGeneral::Players(n).Nom = QStringLiteral("Mirella");
    const int later = newCharacter();
    ui->answerMsgBox(ports::No, QStringLiteral("Mirella n'est pas terminé"));
    EXPECT_FALSE(s.close());
    EXPECT_FALSE(s.isUnloaded());
    ui->answerMsgBox(ports::Yes, QStringLiteral("Abandonner ce personnage"));
    EXPECT_TRUE(s.close());
    flushDeletes();
    EXPECT_EQ(ModGeneral::Players.size(), later);
    EXPECT_EQ(ModGeneral::TakeReleasedPlayer(ModGeneral::NewCharacterLimit), n);
    EXPECT_TRUE(ModGeneral::Players(n).Nom.isEmpty());
    EXPECT_EQ(ModGeneral::TakeReleasedPlayer(ModGeneral::NewCharacterLimit), 0);
}

TEST_F(StatChoisesTest, EmptyPotentialsAreAllRolledAndACultureWithoutLanguageRanksGivesNone)
{
    frmStatChoises &s = open(0, 99);   // no such culture: no adolescence rows at all
    setDice(s, QStringLiteral("10"));
    s.btnNext_Click();
    d10(std::vector<int>(50, 1));      // ten times 50 + 5d10
    ModalDriver driver;
    driver.then([](QWidget *dlg) { qobject_cast<frmCharacter *>(dlg)->bntOk->click(); });
    ui->answerMsgBox(ports::Ok, Strings::Load(5028));
    ui->allowUnused();
    s.txtStatisticsP[4]->setText(QStringLiteral("77"));   // a typed one does not stop the roll of all
    s.btnNext_Click();
    EXPECT_EQ(ModGeneral::Players(n).DirStats(1, 4), 55);
    auto *skill = qobject_cast<frmSkillDev *>(SkillDevForms.peek(n));
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->labPD->text(), QStringLiteral("0"));
    EXPECT_EQ(skill->labPD->property("Tag").toString(), QStringLiteral("Ranks"));
}

} // namespace
