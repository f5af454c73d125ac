// The end of each stage and what opens next, and the adolescence pass.
#include "SkillDevFixture.h"

#include "character/Players.h"
#include "background/TransferChoices.h"
#include "background/frmTraining.h"
#include "mainwindow/frmMain.h"

#include <QComboBox>
#include <QTest>


using ModGeneral::Players;

namespace {

class StageEndTest : public SkillDevFixture {
protected:
    void SetUp() override
    {
        SkillDevFixture::SetUp();
        auto &h = skilldev::Hooks();
        h.BackgroundOptions = [this](int n, bool load) {
            background.push_back({n, load});
            under.push_back(SkillDevForms.peek(n));
        };
        h.StatGainRolls = [this](int n) { rolls.push_back(n); };
        h.WeaponCategoryOrder = [this](int n) { orders.push_back(n); };
    }

    // A window that the stage's end closes: it lives in the window table.
    frmSkillDev *stage(const QString &mode, const QString &ranks, const QString &marker, int points)
    {
        auto *w = new frmSkillDev;
        SkillDevForms.put(1, w);
        w->setTag(QStringLiteral("1"));
        ModGeneral::SkillDevMode = mode;
        w->setRanksMarker(ranks);
        w->setStageMarker(marker);
        w->LoadData();
        w->labPD->setText(QString::number(points));
        w->btnEnd->setEnabled(true);
        return w;
    }

    // Character 1's window as the toolbar's Skill button opens it.
    frmSkillDev *skillFromToolbar(frmMain &main)
    {
        auto *w = new frmSkillDev;
        SkillDevForms.put(1, w);
        main.setTag(QStringLiteral("1"));
        main.tbToolBar_ButtonClick(QStringLiteral("Skill"));
        return w;
    }

    std::vector<std::pair<int, bool>> background;
    std::vector<const CharacterWindow *> under;   // the stage's window still up as the options open
    std::vector<int> rolls, orders;
};

TEST_F(StageEndTest, PointsLeftAskFirstAndNoKeepsTheStage)
{
    frmSkillDev *w = stage(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"), 3);
    player().AddDevelopment(2, 81, 0, 1, 0);
    ui->answerMsgBox(ports::No, QStringLiteral("tous vos rangs"));
    w->btnEnd_Click();
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().style, ports::YesNo);
    EXPECT_FALSE(w->isUnloaded());
    EXPECT_EQ(w->labPD->text(), QStringLiteral("3"));
    EXPECT_EQ(w->StageMarker(), QStringLiteral("Hobby Ranks"));
    EXPECT_EQ(player().DirRankDevelopment(2, 81, 0, 0).toInt(), 1);

    // Development points left: the question speaks of development points.
    frmSkillDev *level = stage(QString(), QString(), QString(), 4);
    ui->answerMsgBox(ports::No, QStringLiteral("points de développement"));
    level->btnEnd_Click();
    EXPECT_FALSE(level->isUnloaded());
}

TEST_F(StageEndTest, LevelEndRaisesExperienceAndRefreshesTheSheet)
{
    CharacterWindow *sheet = GeneralForms.make();
    GeneralForms.put(1, sheet);
    sheet->setTag(QStringLiteral("1"));
    frmSkillDev *w = stage(QString(), QString(), QString(), 0);
    player().AddDevelopment(2, 1, 0, 2, 0);
    w->btnEnd_Click();
    EXPECT_EQ(messages(), 0);   // nothing left: no question
    EXPECT_EQ(player().Experience, 10000);
    EXPECT_EQ(player().CalNiveau(), 1);
    EXPECT_TRUE(rolls.empty());
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_FALSE(w->btnEnd->isEnabled());
    EXPECT_EQ(player().PdeD, 0);
    // The ranks reached the record.
    bool held = false;
    for (int r = 0; r <= player().NbSkill && player().NbSkill > 0; ++r)
        held = held || (player().DirSkills(0, r) == 1 && player().DirSkills(1, r) == 2);
    EXPECT_TRUE(held);

    // Two steps from 50000: the level changes only at 70000; rolls from level 2 on.
    player().Experience = 50000;
    frmSkillDev *next = stage(QString(), QString(), QString(), 0);
    next->btnEnd_Click();
    EXPECT_EQ(player().Experience, 70000);
    EXPECT_EQ(rolls, std::vector<int>{1});
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(StageEndTest, BoughtTrainingPackageIsAppliedAndSpendsTheBackgroundPoints)
{
    player().PointsBO = 3;
    player().Money = 2147483647 - 10000;   // its one gold piece fills the fortune to the top
    frmSkillDev *w = stage(QString(), QString(), QString(), 0);
    w->labTraining->setText(QStringLiteral("Pèlerin"));
    ::setTag(w->labTraining, QStringLiteral("10"));
    w->btnEnd_Click();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
    EXPECT_EQ(player().PointsBO, 0);
    EXPECT_EQ(player().Money, 2147483647);
    // No background options: the level ends as levels do.
    EXPECT_TRUE(background.empty());
    EXPECT_EQ(player().Experience, 10000);
    // The package's ranks reached the rank tables with the stage's.
    bool held = false;
    for (int r = 0; r <= player().NbSkill && player().NbSkill > 0; ++r)
        held = held || (player().DirSkills(0, r) == 54 && player().DirSkills(1, r) >= 1);
    EXPECT_TRUE(held);
}

// After the package was bought, the sheet aged the character to the top of
// its range, or raised its money so near the top that the package's gold
// piece would pass it: End takes the package off, gives its points back, and
// the stage stays for them to be spent.
TEST_F(StageEndTest, APackageTheCharacterCanNoLongerTakeGivesItsPointsBackAtTheEnd)
{
    const struct {
        float age;
        qint32 money;
        const char *why;
    } cases[] = {{999999, 0, "son âge passerait"},
                 {17, 2147483647 - 9999, "son argent pourrait dépasser 214748 po"}};   // a gold piece is 10000
    for (const auto &c : cases) {
        player().Age = c.age;
        player().Money = c.money;
        frmSkillDev *w = stage(QString(), QString(), QString(), 0);
        w->labTraining->setText(QStringLiteral("Pèlerin"));
        ::setTag(w->labTraining, QStringLiteral("10"));   // three months, one gold piece
        w->labTrainingCost->setText(QStringLiteral("6"));
        ui->answerMsgBox(ports::Ok, QStringLiteral("Brune ne peut pas suivre cette formation : ") + QString::fromUtf8(c.why));
        w->btnEnd_Click();
        EXPECT_FALSE(w->isUnloaded());
        EXPECT_EQ(w->labPD->text(), QStringLiteral("6"));
        EXPECT_TRUE(tag(w->labTraining).isEmpty());
        EXPECT_TRUE(w->labTrainingCost->text().isEmpty());
        EXPECT_EQ(player().Age, c.age);
        EXPECT_EQ(player().Money, c.money);
        EXPECT_EQ(player().Experience, 0);
        w->Unload();
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

// Closing the window of a language or hobby stage asks whether to give the
// character up: No keeps the window, Yes drops the record and frees its number.
TEST_F(StageEndTest, ClosingAStageOfACharacterBeingMadeAsksFirst)
{
    // Every stage before the first level is one of a character being made.
    frmSkillDev *w = nullptr;
    for (const auto &[mode, marker] : {std::pair{"", "Hobby Ranks"}, std::pair{"Langue", "Historique"},
                                       std::pair{"Langue", "Linguistique"}}) {
        w = stage(QString::fromLatin1(mode), QStringLiteral("Ranks"), QString::fromLatin1(marker), 4);
        ui->answerMsgBox(ports::No, QStringLiteral("Brune n'est pas terminé"));
        EXPECT_FALSE(w->close()) << marker;
        EXPECT_FALSE(w->isUnloaded()) << marker;
    }
    EXPECT_EQ(ModGeneral::Players.size(), 1);

    ui->answerMsgBox(ports::Yes, QStringLiteral("Abandonner ce personnage"));
    EXPECT_TRUE(w->close());
    EXPECT_EQ(ModGeneral::Players.size(), 0);
    EXPECT_EQ(ModGeneral::PlayerCount, 0);
    EXPECT_FALSE(SkillDevForms.made(1));
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().style, ports::YesNo | ports::Question);

    // A window the stage's end closes, or one of a finished character, asks nothing.
    ModGeneral::RedimPlayer();
    player().Nom = QStringLiteral("Brune");
    frmSkillDev *level = stage(QString(), QString(), QString(), 0);
    EXPECT_TRUE(level->close());
    frmSkillDev *hobby = stage(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"), 0);
    hobby->Unload();
    EXPECT_TRUE(hobby->isUnloaded());
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 4);
    EXPECT_EQ(ModGeneral::Players.size(), 1);
}

TEST_F(StageEndTest, ExperienceClimbsToTheTopOfItsRangeAndNoFurther)
{
    // Just below the top, a step of 10000 would pass it: the climb stops on
    // the top, which starts a level.
    player().Experience = 1599990001;
    const qint16 level = player().CalNiveau();
    stage(QString(), QString(), QString(), 0)->btnEnd_Click();
    EXPECT_EQ(player().Experience, 1600000000);
    EXPECT_EQ(player().CalNiveau(), level + 1);
    EXPECT_EQ(rolls, std::vector<int>{1});

    // At the top the level cannot rise: said once, and the end still ends.
    ui->answerMsgBox(ports::Ok, QStringLiteral("1600000000"));
    frmSkillDev *w = stage(QString(), QString(), QString(), 0);
    w->btnEnd_Click();
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(player().Experience, 1600000000);
    EXPECT_EQ(rolls, std::vector<int>{1});
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(StageEndTest, HobbyEndStartsTheFirstLevelOnANewSheet)
{
    frmSkillDev *w = stage(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"), 0);
    ui->answerMsgBox(ports::Ok, QStringLiteral("premier niveau"));
    w->btnEnd_Click();
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().title, QStringLiteral("Niveau 1"));
    EXPECT_EQ(w->StageMarker(), QString());
    EXPECT_EQ(w->RanksMarker(), QString());
    EXPECT_EQ(w->labDevlopment[13]->text(), QStringLiteral("Points de développement"));
    EXPECT_EQ(w->labPD->text(), QString::number(player().PdeD));
    EXPECT_GT(player().PdeD, 0);
    EXPECT_TRUE(w->isUnloaded());
    CharacterWindow *sheet = GeneralForms.peek(1);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->Tag(), QStringLiteral("1"));
    EXPECT_EQ(player().Experience, 0);
    // The window made afresh for the next level has no stage.
    auto *again = qobject_cast<frmSkillDev *>(SkillDevForms[1]);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, w);
    EXPECT_EQ(again->StageMarker(), QStringLiteral("3079"));
}

// The options open over the window whose stage ended, with or without points
// left, and it goes once they close.
TEST_F(StageEndTest, BackgroundPointsAndLanguageStagesLeadBackToTheOptions)
{
    player().PointsBO = 2;
    frmSkillDev *w = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Historique"), 0);
    w->btnEnd_Click();
    ASSERT_EQ(background.size(), 1u);
    EXPECT_EQ(background[0], std::make_pair(1, true));
    EXPECT_EQ(under[0], w);
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(ModGeneral::SkillDevMode, QString());

    player().PointsBO = 0;
    frmSkillDev *w2 = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Historique"), 0);
    w2->btnEnd_Click();
    ASSERT_EQ(background.size(), 2u);
    EXPECT_EQ(background[1], std::make_pair(1, false));
    EXPECT_EQ(under[1], w2);
    EXPECT_TRUE(w2->isUnloaded());
}

TEST_F(StageEndTest, AdolescencePassAsksForEveryOpenChoice)
{
    adolescence();
    Personnage &p = player();
    frmSkillDev *w = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Linguistique"), 0);
    ui->allowUnused(false);
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.front().id; });
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.back().id; });
    ui->answerInput(QStringLiteral("Forge"), QStringLiteral("Métier"));
    ui->answerInput(QString(), QStringLiteral("région"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("Vous avez 5 points d'historique"));
    w->btnEnd_Click();

    const auto choosers = ui->callsOf(ScriptedPorts::Kind::ChooseOne);
    ASSERT_EQ(choosers.size(), 2u);
    EXPECT_EQ(choosers[0].title, QStringLiteral("Lames (2 Rangs)"));
    EXPECT_EQ(choosers[0].mode, 999);
    EXPECT_EQ(choosers[1].title, QStringLiteral("Armes de trait (1 Rang)"));
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().title, QStringLiteral("Options d'historique"));
    const auto inputs = ui->callsOf(ScriptedPorts::Kind::InputBox);
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0].title, QStringLiteral("Métier (au choix) (1 Rang)"));

    // The chosen weapons carry their ranks; the sub-skills carry the skill's.
    ASSERT_FALSE(choosers[0].items.empty());
    const qint32 blade = choosers[0].items.front().id;
    bool weapon = false;
    for (int r = 1; r <= p.NbWeaponSkills; ++r)
        weapon = weapon || (p.DirWeaponSkills(0, r) == "227" && p.DirWeaponSkills(4, r) == QString::number(blade)
                            && p.DirWeaponSkills(1, r) == "2");
    EXPECT_TRUE(weapon);
    QStringList names;
    for (int r = 1; r <= p.NbSubSkill; ++r)
        if (p.DirSubSkills(5, r) != QStringLiteral("0"))
            names << p.DirSubSkills(5, r) + QLatin1Char(':') + p.DirSubSkills(1, r);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Forge:1"), QStringLiteral("EMPTY:1")}));

    EXPECT_EQ(orders, std::vector<int>{1});
    EXPECT_EQ(p.PointsBO, 5);
    ASSERT_EQ(background.size(), 1u);
    EXPECT_EQ(background[0], std::make_pair(1, true));
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(ModGeneral::SkillDevMode, QString());
}

// The options open over the window whose stage ended, and it goes once they
// close; when they open the next stage, that window and its mode stay.
TEST_F(StageEndTest, AdolescenceEndOpensTheOptionsBeforeItsWindowGoes)
{
    frmSkillDev *w = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Linguistique"), 0);
    bool overItsWindow = false;
    frmSkillDev *next = nullptr;
    skilldev::Hooks().BackgroundOptions = [&](int n, bool) {
        overItsWindow = !w->isUnloaded() && SkillDevForms.peek(n) == w;
        next = skilldev::OpenStage(n, skilldev::Stage::BackgroundLanguages, 20);
    };
    ui->answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("points d'historique"));
    w->btnEnd_Click();
    EXPECT_TRUE(overItsWindow);
    EXPECT_TRUE(w->isUnloaded());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(SkillDevForms.peek(1), next);
    EXPECT_EQ(ModGeneral::SkillDevMode, QStringLiteral("Langue"));
    next->Unload();
}

// A bonus refused with Enter is said once: the window closing at the end of
// the stage does not say it again.
TEST_F(StageEndTest, ABonusRefusedWithEnterIsNotRefusedAgainWhenTheStageEnds)
{
    frmSkillDev *w = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Linguistique"), 1);
    w->trvSkillCategorie_NodeClick(w->NodeByKey(QStringLiteral("SC14")));
    QLineEdit *special = w->labBonusSkillCat[3];
    special->selectAll();
    QTest::keyClicks(special, QStringLiteral("5"));
    ui->answerMsgBox(ports::Ok, Strings::Load(5064));
    QTest::keyClick(special, Qt::Key_Return);
    EXPECT_EQ(special->text(), QStringLiteral("0"));
    ui->allowUnused(false);
    ui->answerMsgBox(ports::Yes, Strings::Load(5024));
    ui->answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("points d'historique"));
    w->btnEnd_Click();
    EXPECT_TRUE(w->isUnloaded());
    int refusals = 0;
    for (const auto &call : ui->callsOf(ScriptedPorts::Kind::MsgBox))
        refusals += call.text == Strings::Load(5064) ? 1 : 0;
    EXPECT_EQ(refusals, 1);
}

TEST_F(StageEndTest, AdolescencePassWithoutRaceOrChoicesStillReachesTheOptions)
{
    player().Race_ID = 77;
    ui->allowUnused(false);
    ui->answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("Vous avez 0 points"));
    skilldev::SpecialSkillAdolesence(QStringLiteral("1"));
    EXPECT_EQ(player().PointsBO, 0);
    EXPECT_EQ(background.size(), 1u);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ChooseOne), 0);
}

// The chooser the program shows, with every other question scripted.
class ShownChooser : public ScriptedPorts {
public:
    qint32 ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                           const QString &caption) override
    {
        return transferchoices::ChooseOne(player, mode, items, caption);
    }
};

TEST_F(StageEndTest, AdolescencePassReportsAWeaponListWithNothingToPick)
{
    adolescence();
    player().Culture_ID = 99;   // a culture that allows none of the weapons
    ShownChooser shown;
    ports::install(&shown);
    shown.expectError(QStringLiteral("frmArmeAdolescence.LoadData"))
        .expectError(QStringLiteral("frmArmeAdolescence.LoadData"))
        .answerInput(QStringLiteral("Forge"), QStringLiteral("Métier"))
        .answerInput(QStringLiteral("Nord"), QStringLiteral("région"))
        .answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"))
        .answerMsgBox(ports::Ok, QStringLiteral("points d'historique"));
    skilldev::SpecialSkillAdolesence(QStringLiteral("1"));
    ports::install(&*ui);
    shown.verifyConsumed();
    EXPECT_EQ(shown.count(ScriptedPorts::Kind::ErrorBox), 2);
    EXPECT_EQ(background.size(), 1u);   // the pass goes on to the options
}

// Culture 4 gives one rank in the open lists: the player is told, picks one
// list of the realm, and the list gets the rank, doubled as the culture
// counts the open lists as an everyman skill.
TEST_F(StageEndTest, AdolescencePassSendsAnOpenListRankToTheListChosen)
{
    player().Culture_ID = 4;
    adolescence();
    frmSkillDev *w = stage(QStringLiteral("Langue"), QStringLiteral("Ranks"), QStringLiteral("Linguistique"), 0);
    ui->allowUnused(false);
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.front().id; });
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.back().id; });
    ui->answerMsgBox(ports::Ok, QStringLiteral("Listes libres"));
    ui->answerInput(QStringLiteral("Nord"), QStringLiteral("région"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("catégories d'armes"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("points d'historique"));
    w->btnEnd_Click();

    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).front().text,
              QStringLiteral("Vous devez attribuer votre point d'adolesence en Listes libres dans la Liste de votre choix."));
    const auto choosers = ui->callsOf(ScriptedPorts::Kind::ChooseOne);
    ASSERT_EQ(choosers.size(), 2u);
    EXPECT_EQ(choosers[1].mode, 888);
    EXPECT_EQ(choosers[1].title, QStringLiteral("Listes libres (1 Rang)"));
    ASSERT_FALSE(choosers[1].items.empty());
    const qint32 row = player().RankRow(RankKind::SpellList, 166, choosers[1].items.back().id);
    ASSERT_GE(row, 1);
    EXPECT_EQ(player().RankCell(RankKind::SpellList, Personnage::fRank, row), QStringLiteral("2"));
}

TEST_F(StageEndTest, StageOpenersWriteTheirMarkers)
{
    Personnage &p = player();
    p.PointsBO = 4;
    frmSkillDev *w = skilldev::OpenStage(1, skilldev::Stage::BackgroundLanguages, 20);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->StageMarker(), QStringLiteral("Historique"));
    EXPECT_EQ(w->RanksMarker(), QStringLiteral("Ranks"));
    EXPECT_TRUE(w->LanguageMode());
    EXPECT_EQ(w->labPD->text(), QStringLiteral("20"));
    EXPECT_TRUE(w->btnEnd->isEnabled());
    EXPECT_TRUE(w->btnTraning->isHidden());
    EXPECT_EQ(w->labDevlopment[13]->text(), QStringLiteral("Rang"));

    frmSkillDev *hobby = skilldev::OpenStage(1, skilldev::Stage::HobbyRanks, 12);
    ASSERT_NE(hobby, nullptr);
    EXPECT_EQ(SkillDevForms.peek(1), hobby);
    EXPECT_EQ(hobby->StageMarker(), QStringLiteral("Hobby Ranks"));
    EXPECT_EQ(hobby->labPD->text(), QStringLiteral("12"));
    EXPECT_EQ(hobby->labDevlopment[13]->text(), QStringLiteral("Rangs passe-temps"));
    EXPECT_FALSE(hobby->LanguageMode());
    // The hobby tree was built as a rank stage: no category without culture skills.
    EXPECT_EQ(hobby->NodeByKey(QStringLiteral("SC1")), nullptr);
    ClearFormTables();
}

} // namespace

namespace {

TEST_F(StageEndTest, LevelButtonDuringALevelKeepsItsPoints)
{
    frmMain main;
    main.show();
    frmSkillDev *w = stage(QString(), QString(), QString(), 30);
    main.setTag(QStringLiteral("1"));
    w->labPD->setText(QStringLiteral("12"));
    player().AddDevelopment(2, 81, 0, 1, 0);
    main.tbToolBar_ButtonClick(QStringLiteral("Level"));
    EXPECT_EQ(w->labPD->text(), QStringLiteral("12"));
    EXPECT_EQ(player().DirRankDevelopment(2, 81, 0, 0).toInt(), 1);
    ClearFormTables();
}

} // namespace

namespace {

// A first level opened with Skill (the End button still off), ranks bought,
// then Level: the points already spent stay spent.
TEST_F(StageEndTest, LevelAfterSkillKeepsWhatThePurchasesCost)
{
    frmMain main;
    main.show();
    frmSkillDev *w = skillFromToolbar(main);
    const int points = player().DevelopmentPoint();
    ASSERT_EQ(w->labPD->text().toInt(), points);
    ASSERT_FALSE(w->btnEnd->isEnabled());

    w->trvSkillCategorie_NodeClick(w->NodeByKey(QStringLiteral("SC11")));   // costs 3/7
    w->chkSkillCategory[0]->click();
    w->chkSkillCategory[1]->click();
    QTreeWidgetItem *skill = w->NodeByKey(QStringLiteral("SC11"))->child(0);
    w->trvSkillCategorie_NodeClick(skill);
    w->chkSkill[0]->click();
    ASSERT_EQ(w->labPD->text().toInt(), points - 13);

    main.tbToolBar_ButtonClick(QStringLiteral("Level"));
    EXPECT_TRUE(w->btnEnd->isEnabled());
    EXPECT_EQ(w->labPD->text().toInt(), points - 13);
    w->trvSkillCategorie_NodeClick(skill);
    w->chkSkill[0]->click();
    w->trvSkillCategorie_NodeClick(w->NodeByKey(QStringLiteral("SC11")));
    w->chkSkillCategory[1]->click();
    w->chkSkillCategory[0]->click();
    EXPECT_EQ(w->labPD->text().toInt(), points);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
    ClearFormTables();
}

// A package bought in a first level opened with Skill stays paid for once
// Level starts the stage.
TEST_F(StageEndTest, LevelAfterSkillKeepsWhatTheBoughtPackageCost)
{
    frmMain main;
    main.show();
    frmSkillDev *w = skillFromToolbar(main);
    const int points = player().DevelopmentPoint();
    frmTraining dlg;
    ::setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.cbbTrainingPackage->setCurrentIndex(dlg.cbbTrainingPackage->findText(QStringLiteral("Guet de la cité")));
    dlg.btnTrainingPack_Click();   // 10 points for profession 11
    ASSERT_EQ(w->labPD->text().toInt(), points - 10);

    main.tbToolBar_ButtonClick(QStringLiteral("Level"));
    EXPECT_EQ(w->labPD->text().toInt(), points - 10);
    ClearFormTables();
}

// The stage's hand-over fails (a damaged rules row) after the package was
// applied: ending the stage again applies the package no second time, and
// asks none of its choices again.
TEST_F(StageEndTest, PackageIsAppliedOnceWhenTheHandOverFails)
{
    frmSkillDev *w = stage(QString(), QString(), QString(), 0);
    w->labTraining->setText(QStringLiteral("Ménestrel errant"));
    ::setTag(w->labTraining, QStringLiteral("2"));   // a skill of choice and a statistic gain
    player().AddDevelopment(2, 81, 0, 1, 0);
    const qint32 moneyBefore = player().Money;
    const float ageBefore = player().Age;
    changeRules("DROP TABLE [Special Skills Profession & Bonus];");
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.front().id; });
    ui->answerStatGains({7});
    ui->expectError(QStringLiteral("OccupationalEverymanRestrictedSkill"));
    w->btnEnd_Click();
    ASSERT_FALSE(w->isUnloaded());
    const qint32 money = player().Money;
    const float age = player().Age;
    const QString history = player().Historique.toString();
    EXPECT_GE(money, moneyBefore + 20000);  // (1 + 1d6) gold pieces of 10000
    EXPECT_EQ(age, ageBefore + 1.0f);       // twelve months
    EXPECT_TRUE(history.contains(QStringLiteral("Ménestrel errant"))) << history.toStdString();

    testrules::OpenAsRules(ModGeneral::MasterPath);
    w->btnEnd_Click();
    EXPECT_EQ(player().Money, money);
    EXPECT_EQ(player().Age, age);
    EXPECT_EQ(player().Historique.toString(), history);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ChooseOne), 1);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ChooseStatGains), 1);
    EXPECT_TRUE(w->isUnloaded());
}

} // namespace

namespace {

// Another character's language stage keeps the language-only mode; Skill
// opens this character's level stage with its whole tree all the same.
TEST_F(StageEndTest, SkillShowsTheWholeTreeDuringAnotherCharactersLanguageStage)
{
    frmMain main;
    main.show();
    ModGeneral::SkillDevMode = QStringLiteral("Langue");
    frmSkillDev *w = skillFromToolbar(main);
    EXPECT_FALSE(w->LanguageMode());
    EXPECT_GT(w->trvSkillCategorie->topLevelItemCount(), 1);
    EXPECT_EQ(ModGeneral::SkillDevMode, QStringLiteral("Langue"));
    ModGeneral::SkillDevMode.clear();
    ClearFormTables();
}

} // namespace
