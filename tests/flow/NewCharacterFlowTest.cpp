// The whole road of a new character, through the real main window and the
// real windows of every step, on the sample rules: File > New to the end of
// the second level, then Save As, Open of the same file, and the sheet printed.
// A scripted user answers the boxes, a modal driver the dialogs; any box or
// error the road did not expect fails the test.
#include "newcharacter/NewCharFixture.h"

#include "background/TransferChoices.h"
#include "background/frmArmeAdolescence.h"
#include "background/frmBackground.h"
#include "background/frmWeaponChoises.h"
#include "character/Players.h"
#include "mainwindow/Startup.h"
#include "mainwindow/frmMain.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmInitChoise.h"
#include "newcharacter/frmStatChoises.h"
#include "newcharacter/frmStatGainRolls.h"
#include "print/ModPrint.h"
#include "print/frmPrint.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

using ModGeneral::Players;
using Kind = ScriptedPorts::Kind;

namespace {

// The scripted user, except that the one-list chooser is the real window.
class RealChooserPorts : public ScriptedPorts {
public:
    qint32 ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                           const QString &caption) override
    {
        captions << caption;
        return transferchoices::ChooseOne(player, mode, items, caption);
    }
    qint32 ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items) override
    {
        return ChooseOneTitled(player, mode, items, QString());
    }
    QStringList captions;
};

// Picks the row of the chooser whose identifier is `id` (the first row when
// id is 0) and confirms it.
void choose(QWidget *w, qint32 id, QString *title = nullptr, int *rows = nullptr)
{
    auto *dlg = qobject_cast<frmArmeAdolescence *>(w);
    ASSERT_NE(dlg, nullptr) << w->metaObject()->className();
    if (title)
        *title = dlg->windowTitle();
    if (rows)
        *rows = dlg->lstArme->count();
    int row = 0;
    for (int i = 0; id != 0 && i < static_cast<int>(dlg->ItemNumber.size()); ++i)
        if (dlg->ItemNumber[static_cast<size_t>(i)] == id)
            row = i;
    dlg->lstArme->setCurrentIndex(row);
    dlg->btnOk->click();
}

class NewCharacterFlowTest : public NewCharFixture {
protected:
    NewCharacterFlowTest() { openDatabases = false; }
    void SetUp() override
    {
        NewCharFixture::SetUp();
        skilldev::ResetHooks();
        background::resetLinks();
        clock.start();
        Startup::Options options;
        options.splash = false;
        main = Startup::Main(options);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override
    {
        delete main;
        flushDeletes();
        skilldev::ResetHooks();
        background::resetLinks();
        NewCharFixture::TearDown();
        EXPECT_LT(clock.elapsed(), 10000);
    }

    bool enabled(int button) const { return main->Button(button)->isEnabled(); }
    // Save, Print, General, Skill and Level, in that order, as "10110".
    QString toolbar() const
    {
        QString s;
        for (int b : {3, 5, 7, 8, 10})
            s += enabled(b) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    QWidget *front() const
    {
        QMdiSubWindow *sub = main->mdiArea()->currentSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    int openChildren() const
    {
        int count = 0;
        for (QMdiSubWindow *sub : main->mdiArea()->subWindowList())
            count += sub->isVisible() ? 1 : 0;
        return count;
    }
    frmSkillDev *skill(int n) const { return qobject_cast<frmSkillDev *>(SkillDevForms.peek(n)); }

    // Picks a node of the skill tree as a click would and ticks rank box k.
    static void buy(frmSkillDev *w, const QString &key, int box, bool category = false)
    {
        QTreeWidgetItem *node = w->NodeByKey(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        w->trvSkillCategorie->setCurrentItem(node);
        QCheckBox *check = category ? w->chkSkillCategory[static_cast<size_t>(box)] : w->chkSkill[static_cast<size_t>(box)];
        ASSERT_TRUE(check->isEnabled()) << key.toStdString() << " box " << box;
        check->click();
    }
    static void selectText(QComboBox *box, const QString &text)
    {
        const int row = box->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        box->setCurrentIndex(row);
    }
    // The statistic gain rolls dialog: every die typed, then OK.
    static void rollGains(QWidget *w, int die)
    {
        auto *dlg = qobject_cast<frmStatGainRolls *>(w);
        ASSERT_NE(dlg, nullptr) << w->metaObject()->className();
        for (QLineEdit *d : dlg->txtDie)
            if (d->isEnabled())
                d->setText(QString::number(die));
        dlg->btnOk->click();
    }

    // Culture, race, sex, profession: the first window up to its Next.
    void firstWindow(const QString &culture, const QString &profession)
    {
        main->mnuFileNew->trigger();
        auto *init = qobject_cast<frmInitChoise *>(InitForms.peek(1));
        ASSERT_NE(init, nullptr);
        EXPECT_EQ(front(), init);
        EXPECT_EQ(toolbar(), QStringLiteral("00000"));
        selectText(init->lstCulture, culture);
        init->optSex[1]->click();
        init->btnNext->click();
        // The profession's tab first, as the player looks for it.
        for (int tab = 0; tab < init->TabInitchoises->count() && init->lstProfession->findText(profession) < 0; ++tab)
            init->TabInitchoises->setCurrentIndex(tab);
        selectText(init->lstProfession, profession);
    }

    // Ranks the record holds in skill `id`, in spoken language `language`.
    static int skillRanks(Personnage &p, qint32 id)
    {
        for (qint32 row = 0; row <= p.NbSkill; ++row)
            if (p.DirSkills(Personnage::fId, row) == id)
                return p.DirSkills(Personnage::fRank, row);
        return 0;
    }
    static int spokenRanks(Personnage &p, qint32 language)
    {
        for (qint32 row = 1; row <= p.NbLanguageSkills; ++row)
            if (p.DirLanguageSkills(Personnage::fId, row).toInt() == 32
                && p.DirLanguageSkills(Personnage::fKey, row).toInt() == language)
                return p.DirLanguageSkills(Personnage::fRank, row).toInt();
        return 0;
    }

    QElapsedTimer clock;
    frmMain *main = nullptr;
};

TEST_F(NewCharacterFlowTest, FromFileNewToASavedReopenedAndPrintedSecondLevel)
{
    // ---- culture, race and sex, then profession and realm
    firstWindow(QStringLiteral("Citadins de Port-Vasque"), QStringLiteral("Tisseur de trame"));
    Personnage &p = Players(1);
    EXPECT_EQ(p.Culture_ID, 1);
    EXPECT_EQ(p.Race_ID, 1);
    EXPECT_TRUE(p.Sexe);
    EXPECT_EQ(p.Profession_ID, 1);
    EXPECT_EQ(p.Royaume_ID, 5);
    InitForms.peek(1)->findChild<QPushButton *>(QStringLiteral("btnNext"))->click();
    flushDeletes();
    EXPECT_EQ(InitForms.peek(1), nullptr);

    // ---- statistics: temporary values within the pool, then potentials
    auto *stats = qobject_cast<frmStatChoises *>(StatChoiceForms.peek(1));
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(front(), stats);
    EXPECT_EQ(openChildren(), 1);
    for (QLineEdit *die : stats->tbDieRollT)
        die->setText(QStringLiteral("5"));   // pool 650
    stats->sldStatistics[0]->setValue(70);
    stats->sldStatistics[9]->setValue(65);
    EXPECT_EQ(stats->tbStatPointsTotal[1]->text(), QStringLiteral(" 615"));
    stats->btnNext->click();
    ASSERT_EQ(stats->Phase(), QStringLiteral("Potentiel"));
    for (int i = 0; i < 10; ++i)
        stats->txtStatisticsP[i]->setText(QString::number(stats->txtStatisticsT[i]->text().toInt() + 8));

    // ---- identity, then the adolescence language stage
    ModalDriver driver(8000);
    driver.then([](QWidget *w) {
        auto *identity = qobject_cast<frmCharacter *>(w);
        ASSERT_NE(identity, nullptr) << w->metaObject()->className();
        identity->txtNom->setText(QStringLiteral("Aldric"));
        identity->txtAge->setText(QStringLiteral("19"));
        identity->bntOk->click();
    });
    ui->answerMsgBox(ports::Ok, Strings::Load(5028));
    stats->btnNext->click();
    EXPECT_TRUE(driver.allStepsRan());
    flushDeletes();
    EXPECT_EQ(StatChoiceForms.peek(1), nullptr);
    EXPECT_EQ(p.Nom, QStringLiteral("Aldric"));
    EXPECT_EQ(p.DirStats(0, 0), 70);
    EXPECT_EQ(p.DirStats(1, 0), 78);
    EXPECT_EQ(p.DirStats(0, 5), 90);   // a prime statistic
    EXPECT_EQ(p.DirStats(0, 9), 65);

    frmSkillDev *lang = skill(1);
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(front(), lang);
    EXPECT_EQ(openChildren(), 1);
    EXPECT_EQ(lang->StageMarker(), QStringLiteral("Linguistique"));
    EXPECT_TRUE(lang->RankStage());
    EXPECT_TRUE(lang->LanguageMode());
    EXPECT_EQ(lang->labPD->text(), QStringLiteral("3"));
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));
    EXPECT_EQ(toolbar(), QStringLiteral("00000"));
    const qint32 spokenBefore = spokenRanks(p, 1);
    buy(lang, QStringLiteral("SL1/32"), 0);
    buy(lang, QStringLiteral("SL1/32"), 1);
    EXPECT_EQ(lang->labPD->text(), QStringLiteral("1"));

    // ---- its end: the special-skills pass, the weapon order, the background options
    ui->answerMsgBox(ports::Yes, Strings::Load(5024));   // one rank left unspent
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.front().id; });
    ui->answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.back().id; });
    ui->answerInput(QStringLiteral("Forgeron"));
    ui->answerInput(QStringLiteral("Port-Vasque"));
    ui->answerMsgBox(ports::Ok, Strings::Load(5055));
    ui->answerMsgBox(ports::Ok, Strings::Load(5038) + QStringLiteral(" 5 "));
    ui->answerMsgBox(ports::Ok, Strings::Load(5047) + QStringLiteral(" 200 "));   // money bought outright
    ui->answerMsgBox(ports::Ok, Strings::Load(5047));                             // money rolled
    ui->answerMsgBox(ports::Ok, Strings::Load(5030) + QStringLiteral(" 12 "));
    Dice::setRolls({50});
    driver.then([](QWidget *w) {
        auto *order = qobject_cast<frmWeaponChoises *>(w);
        ASSERT_NE(order, nullptr) << w->metaObject()->className();
        order->btnOk->click();
    });
    driver.then([](QWidget *w) {
        auto *bg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(bg, nullptr) << w->metaObject()->className();
        EXPECT_EQ(bg->windowTitle(), QStringLiteral("Aldric (") + Strings::Load(3038) + QStringLiteral(")"));
        EXPECT_EQ(bg->labOptionPoint->text(), QStringLiteral("5"));
        bg->chkBackground[1]->setChecked(true);
        bg->chkBackground[2]->setChecked(true);
        bg->chkBackground2[2]->setChecked(true);
        QTimer::singleShot(0, bg->btnOk, &QPushButton::click);
    });
    driver.then([](QWidget *w) { rollGains(w, 9); });
    driver.then([](QWidget *w) {
        // The same dialog again, with the points left.
        auto *bg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(bg, nullptr) << w->metaObject()->className();
        EXPECT_EQ(bg->labOptionPoint->text(), QStringLiteral("2"));
        EXPECT_FALSE(bg->chkBackground[1]->isChecked());
        bg->chkBackground[1]->setChecked(true);
        bg->chkBackground[2]->setChecked(true);
        QTimer::singleShot(0, bg->btnOk, &QPushButton::click);
    });
    driver.then([](QWidget *w) { rollGains(w, 2); });
    const qint32 moneyBefore = p.Money;
    const qint16 agilityBefore = p.DirStats(0, 0);
    lang->btnEnd->click();
    EXPECT_TRUE(driver.allStepsRan()) << driver.seen().join(QLatin1Char(' ')).toStdString();
    flushDeletes();
    EXPECT_GT(spokenRanks(p, 1), spokenBefore);
    EXPECT_EQ(p.PointsBO, 0);
    EXPECT_EQ(p.Money, moneyBefore + 2000000 + 250000);   // 200 bought, 25 for the roll of 50
    EXPECT_GT(p.DirStats(0, 0), agilityBefore);
    EXPECT_LE(p.DirStats(0, 0), p.DirStats(1, 0));
    for (qint16 k = 0; k < 7; ++k)
        EXPECT_NE(p.DirCategorieWeapon(k), 0) << k;

    // ---- hobby ranks
    frmSkillDev *hobby = skill(1);
    ASSERT_NE(hobby, nullptr);
    EXPECT_EQ(front(), hobby);
    EXPECT_EQ(openChildren(), 1);
    EXPECT_EQ(hobby->StageMarker(), QStringLiteral("Hobby Ranks"));
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));   // File > Print and Preview have a character
    EXPECT_FALSE(hobby->LanguageMode());
    EXPECT_EQ(hobby->labPD->text(), QStringLiteral("12"));
    EXPECT_EQ(toolbar(), QStringLiteral("00000"));
    // Free ranks go to the culture's own skills only.
    EXPECT_EQ(hobby->NodeByKey(QStringLiteral("SK0/81")), nullptr);
    const int pickBefore = skillRanks(p, 129);
    buy(hobby, QStringLiteral("SK0/129"), 0);
    EXPECT_EQ(hobby->labPD->text(), QStringLiteral("11"));
    ui->answerMsgBox(ports::Yes, Strings::Load(5024));
    ui->answerMsgBox(ports::Ok, Strings::Load(5025));
    hobby->btnEnd->click();
    flushDeletes();

    // ---- the first level: the sheet opens
    auto *sheet = qobject_cast<frmGeneral *>(GeneralForms.peek(1));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(front(), sheet);
    EXPECT_EQ(openChildren(), 1);
    EXPECT_EQ(skill(1), nullptr);
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));
    EXPECT_EQ(toolbar(), QStringLiteral("11011"));
    EXPECT_EQ(sheet->txtNom->text(), QStringLiteral("Aldric"));
    EXPECT_EQ(skillRanks(p, 129), pickBefore + 1);

    // Two levels, each bought from the Level button and ended on the window.
    for (int level = 1; level <= 2; ++level) {
        main->Button(10)->trigger();
        frmSkillDev *dev = skill(1);
        ASSERT_NE(dev, nullptr) << level;
        EXPECT_EQ(front(), dev) << level;
        for (const char *stage : {"Linguistique", "Historique", "Hobby Ranks"})
            EXPECT_NE(dev->StageMarker(), QLatin1String(stage)) << level;
        EXPECT_FALSE(dev->RankStage());
        EXPECT_TRUE(dev->btnEnd->isEnabled());
        EXPECT_EQ(dev->labPD->text().toInt(), p.DevelopmentPoint()) << level;
        EXPECT_EQ(toolbar(), QStringLiteral("11101")) << level;
        const int before = dev->labPD->text().toInt();
        const int haggle = skillRanks(p, 81);
        buy(dev, QStringLiteral("SK0/81"), 0);
        EXPECT_LT(dev->labPD->text().toInt(), before);
        ui->answerMsgBox(ports::Yes, Strings::Load(5024));
        if (level == 2)
            driver.then([](QWidget *w) { rollGains(w, 10); });
        dev->btnEnd->click();
        EXPECT_TRUE(driver.allStepsRan()) << level;
        flushDeletes();
        EXPECT_GT(skillRanks(p, 81), haggle) << level;
        EXPECT_EQ(p.CalNiveau(), level);
        EXPECT_EQ(p.Experience, level * 10000);
        EXPECT_EQ(front(), sheet);
        EXPECT_EQ(skill(1), nullptr);
        EXPECT_EQ(toolbar(), QStringLiteral("11011")) << level;
    }
    EXPECT_EQ(sheet->txtNiveau->text().trimmed(), QStringLiteral("2"));

    // ---- Save As, then Open of the same file
    const QString file = tempPath(QStringLiteral("Aldric.pja"));
    ui->answerSaveFile(file);
    main->mnuFileSaveAs->trigger();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(p.FileName, file);
    ui->answerOpenFile(file);
    main->mnuFileOpen->trigger();
    ASSERT_EQ(ModGeneral::PlayerCount, 2);
    Personnage &q = Players(2);
    auto *reopened = qobject_cast<frmGeneral *>(GeneralForms.peek(2));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(front(), reopened);
    EXPECT_EQ(main->Tag(), QStringLiteral("2"));
    EXPECT_EQ(q.Nom, p.Nom);
    EXPECT_EQ(q.Culture_ID, p.Culture_ID);
    EXPECT_EQ(q.Race_ID, p.Race_ID);
    EXPECT_EQ(q.Profession_ID, p.Profession_ID);
    EXPECT_EQ(q.Experience, p.Experience);
    EXPECT_EQ(q.Money, p.Money);
    for (qint16 s = 0; s < 10; ++s) {
        EXPECT_EQ(q.DirStats(0, s), p.DirStats(0, s)) << s;
        EXPECT_EQ(q.DirStats(1, s), p.DirStats(1, s)) << s;
    }
    EXPECT_EQ(skillRanks(q, 81), skillRanks(p, 81));
    EXPECT_EQ(spokenRanks(q, 1), spokenRanks(p, 1));
    for (QLineEdit *box : {sheet->txtNom, sheet->txtExperience, sheet->txtAge})
        EXPECT_EQ(reopened->findChild<QLineEdit *>(box->objectName())->text(), box->text())
            << box->objectName().toStdString();
    EXPECT_EQ(reopened->txtNiveau->text(), sheet->txtNiveau->text());
    for (size_t k = 0; k < sheet->labCar.size(); ++k)
        EXPECT_EQ(reopened->labCar[k]->text(), sheet->labCar[k]->text()) << k;

    // ---- the printed sheet: preview, then every page on a recorder
    driver.then([](QWidget *w) {
        auto *preview = qobject_cast<frmPrint *>(w);
        ASSERT_NE(preview, nullptr) << w->metaObject()->className();
        EXPECT_EQ(preview->Tag(), QStringLiteral("2"));
        EXPECT_FALSE(preview->picPage->pages().isEmpty());
        preview->reject();
    });
    main->Button(5)->trigger();
    EXPECT_TRUE(driver.allStepsRan());
    print::RecordingTarget recorder;
    EXPECT_TRUE(ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("2"), recorder));
    EXPECT_GE(recorder.Pages(), 2);
    EXPECT_NE(recorder.Find(QStringLiteral("Aldric")), nullptr);
    EXPECT_EQ(driver.rescued(), 0);
    EXPECT_TRUE(ui->errors().empty());
}

TEST_F(NewCharacterFlowTest, RealmChosenByThePlayerAndExtraLanguagesOnTheRealWindows)
{
    RealChooserPorts user;
    ports::install(&user);
    struct Restore {
        ports::UserPorts *back;
        ~Restore() { ports::install(back); }
    } restore{&*ui};

    // ---- a profession whose realm the player picks: the chooser before the statistics
    firstWindow(QStringLiteral("Paysans des Marches"), QStringLiteral("Guerrier"));
    Personnage &p = Players(1);
    EXPECT_EQ(p.Culture_ID, 2);
    EXPECT_EQ(p.Royaume_ID, 8);
    ModalDriver driver(8000);
    QString realmTitle;
    int realmRows = 0;
    driver.then([&](QWidget *w) { choose(w, 7, &realmTitle, &realmRows); });
    InitForms.peek(1)->findChild<QPushButton *>(QStringLiteral("btnNext"))->click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(realmRows, 3);
    EXPECT_EQ(realmTitle, Strings::Load(2022));
    EXPECT_EQ(p.Royaume_ID, 7);
    EXPECT_FALSE(ModGeneral::WeaponAdolescenceShown);
    flushDeletes();
    auto *stats = qobject_cast<frmStatChoises *>(StatChoiceForms.peek(1));
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(front(), stats);

    // ---- statistics by the dice buttons, then identity
    Dice::setScript(std::vector<float>(10, 0.55f));   // ten pool dice of 6
    stats->btnRandom[0]->click();
    EXPECT_EQ(stats->tbStatPointsTotal[0]->text(), QStringLiteral("660"));
    stats->btnNext->click();
    ASSERT_EQ(stats->Phase(), QStringLiteral("Potentiel"));
    stats->btnRandom[1]->click();
    for (int i = 0; i < 10; ++i)
        EXPECT_GE(stats->txtStatisticsP[i]->text().toInt(), stats->txtStatisticsT[i]->text().toInt()) << i;
    driver.then([](QWidget *w) {
        auto *identity = qobject_cast<frmCharacter *>(w);
        ASSERT_NE(identity, nullptr) << w->metaObject()->className();
        identity->txtNom->setText(QStringLiteral("Maelis"));
        identity->bntOk->click();
    });
    user.answerMsgBox(ports::Ok, Strings::Load(5028));
    stats->btnNext->click();
    EXPECT_TRUE(driver.allStepsRan());
    flushDeletes();
    EXPECT_EQ(p.Nom, QStringLiteral("Maelis"));
    frmSkillDev *lang = skill(1);
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->labPD->text(), QStringLiteral("2"));
    buy(lang, QStringLiteral("SL2/32"), 0);
    buy(lang, QStringLiteral("SL2/32"), 1);
    EXPECT_EQ(lang->labPD->text(), QStringLiteral("0"));

    // ---- the pass: both adolescence weapons on the real chooser, a sub-skill name
    QStringList weaponTitles;
    driver.then([&weaponTitles](QWidget *w) {
        weaponTitles << w->windowTitle();
        choose(w, 0);
    });
    driver.then([&weaponTitles](QWidget *w) {
        weaponTitles << w->windowTitle();
        choose(w, 0);
    });
    user.answerInput(QStringLiteral("Charron"));
    user.answerMsgBox(ports::Ok, Strings::Load(5055));
    user.answerMsgBox(ports::Ok, Strings::Load(5038) + QStringLiteral(" 5 "));
    driver.then([](QWidget *w) {
        auto *order = qobject_cast<frmWeaponChoises *>(w);
        ASSERT_NE(order, nullptr) << w->metaObject()->className();
        order->btnOk->click();
    });
    driver.then([](QWidget *w) {
        auto *bg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(bg, nullptr) << w->metaObject()->className();
        bg->chkBackground[0]->setChecked(true);   // extra languages
        bg->btnOk->click();
    });
    lang->btnEnd->click();
    EXPECT_TRUE(driver.allStepsRan()) << driver.seen().join(QLatin1Char(' ')).toStdString();
    flushDeletes();
    ASSERT_EQ(weaponTitles.size(), 2);
    EXPECT_TRUE(weaponTitles[0].contains(QStringLiteral("2 "))) << weaponTitles[0].toStdString();
    EXPECT_EQ(p.NbWeaponSkills >= 1 && !p.DirWeaponSkills(Personnage::fId, 1).isEmpty(), true);
    EXPECT_EQ(p.PointsBO, 4);

    // ---- the background language stage, then the options again with the points left
    frmSkillDev *extra = skill(1);
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(front(), extra);
    EXPECT_EQ(extra->StageMarker(), QStringLiteral("Historique"));
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));
    EXPECT_EQ(extra->labPD->text(), QStringLiteral("20"));
    EXPECT_EQ(toolbar(), QStringLiteral("00000"));
    const int spoken = spokenRanks(p, 2);
    buy(extra, QStringLiteral("SL2/32"), 0);
    user.answerMsgBox(ports::Yes, Strings::Load(5024));
    user.answerMsgBox(ports::Ok, Strings::Load(5047) + QStringLiteral(" 200 "));
    user.answerMsgBox(ports::Ok, Strings::Load(5047));
    user.answerMsgBox(ports::Ok, Strings::Load(5030) + QStringLiteral(" 12 "));
    driver.then([](QWidget *w) {
        auto *bg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(bg, nullptr) << w->metaObject()->className();
        EXPECT_EQ(bg->labOptionPoint->text(), QStringLiteral("4"));
        bg->chkBackground[1]->setChecked(true);
        bg->chkBackground[2]->setChecked(true);
        bg->chkBackground2[2]->setChecked(true);
        bg->chkBackground2[3]->setChecked(false);
        QTimer::singleShot(0, bg->btnOk, &QPushButton::click);
    });
    driver.then([](QWidget *w) { rollGains(w, 5); });
    driver.then([](QWidget *w) {
        auto *bg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(bg, nullptr) << w->metaObject()->className();
        EXPECT_EQ(bg->labOptionPoint->text(), QStringLiteral("1"));
        bg->chkBackground[2]->setChecked(true);
        bg->btnOk->click();
    });
    extra->btnEnd->click();
    EXPECT_TRUE(driver.allStepsRan()) << driver.seen().join(QLatin1Char(' ')).toStdString();
    flushDeletes();
    EXPECT_GT(spokenRanks(p, 2), spoken);
    EXPECT_EQ(p.PointsBO, 0);

    // ---- hobby ranks left unspent, the sheet, and Save from the toolbar
    frmSkillDev *hobby = skill(1);
    ASSERT_NE(hobby, nullptr);
    EXPECT_EQ(hobby->StageMarker(), QStringLiteral("Hobby Ranks"));
    user.answerMsgBox(ports::Yes, Strings::Load(5024));
    user.answerMsgBox(ports::Ok, Strings::Load(5025));
    hobby->btnEnd->click();
    flushDeletes();
    auto *sheet = qobject_cast<frmGeneral *>(GeneralForms.peek(1));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(front(), sheet);
    EXPECT_EQ(toolbar(), QStringLiteral("11011"));
    const QString file = tempPath(QStringLiteral("Maelis.pja"));
    user.answerSaveFile(file);
    main->Button(3)->trigger();
    EXPECT_TRUE(QFileInfo::exists(file));
    main->Button(3)->trigger();   // named now: saved again without a dialog
    EXPECT_EQ(user.count(Kind::SaveFile), 1);
    EXPECT_EQ(user.captions, weaponTitles);   // the realm chooser is the profession page's own
    EXPECT_EQ(driver.rescued(), 0);
    EXPECT_TRUE(user.errors().empty());
    EXPECT_EQ(user.pending(), 0);
}

TEST_F(NewCharacterFlowTest, TheFrameGrowsUntilACharacterWindowFitsAndNeverShrinks)
{
    // First run: the frame has its rules size, too small for the first window.
    EXPECT_EQ(main->size(), QSize(433, 433));
    main->mnuFileNew->trigger();
    CharacterWindow *init = InitForms.peek(1);
    ASSERT_NE(init, nullptr);
    const QSize need = init->FitSize();
    // As far as the screen allows: the offscreen screen may be the smaller.
    const QSize avail = main->screen()->availableGeometry().size();
    const QSize view = main->mdiArea()->viewport()->size();
    EXPECT_GT(main->width(), 433);
    EXPECT_GT(main->height(), 433);
    EXPECT_TRUE(view.width() >= need.width() || main->frameGeometry().width() >= avail.width()) << view.width();
    EXPECT_TRUE(view.height() >= need.height() || main->frameGeometry().height() >= avail.height()) << view.height();
    EXPECT_TRUE(main->frameGeometry().width() <= avail.width() && main->frameGeometry().height() <= avail.height());

    // A frame the player made larger keeps its size.
    const QSize large = main->size() + QSize(150, 120);
    main->resize(large);
    main->mnuFileNew->trigger();
    EXPECT_EQ(main->size(), large);
    EXPECT_EQ(ui->errors().size(), 0u);

    // The stage grid keeps its three columns whole beside a long stage caption.
    frmSkillDev dev;
    QTableWidget *grid = dev.grdSkill;
    EXPECT_GE(grid->minimumWidth(), grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2));
}

} // namespace
