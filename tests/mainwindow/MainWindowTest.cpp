// The main window: placement, toolbar states, the File actions and the
// per-character window tables, with a scripted user.
#include "frame/FrameFixture.h"

#include "character/PersonnageAccess.h"
#include "character/StoredFileSupport.h"
#include "character/Players.h"
#include "frame/ui/frmSplash.h"
#include "mainwindow/frmMain.h"
#include "newcharacter/frmInitChoise.h"
#include "print/ModPrint.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"
#include "support/ModalDriver.h"
#include "support/PrintedPdf.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <set>

using namespace ModGeneral;

namespace {

class MainWindowTest : public FrameFixture {
protected:
    void TearDown() override
    {
        // Characters still being made would ask to be given up on the way out.
        ClearFormTables();
        if (main)
            main->close();
        main.reset();
        FrameFixture::TearDown();
    }

    frmMain *makeMain()
    {
        main = std::make_unique<frmMain>();
        main->show();
        return main.get();
    }

    // Enabled state of buttons 3, 5, 7, 8, 10 as a five-letter text ("1 0 ...").
    QString fiveButtons() const
    {
        QString s;
        for (int i : {3, 5, 7, 8, 10})
            s += main->Button(i)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    // A saved character file with the given name.
    QString savedCharacter(const QString &fileName, const QString &name)
    {
        Personnage p;
        p.Nom = name;
        p.Age = 31;
        p.FileName = tempPath(fileName);
        p.SaveP();
        EXPECT_TRUE(QFile::exists(p.FileName));
        return p.FileName;
    }

    void press(const char *key)
    {
        for (QAction *a : main->tbToolBar->actions())
            if (a->property("Key").toString() == QLatin1String(key)) {
                a->trigger();
                return;
            }
        ADD_FAILURE() << "no toolbar button " << key;
    }

    QMdiSubWindow *frameOf(QWidget *w) const { return qobject_cast<QMdiSubWindow *>(w->parentWidget()); }

    std::unique_ptr<frmMain> main;
};

} // namespace

// ------------------------------------------------------------------ placement

TEST_F(MainWindowTest, FirstRunPlacementIsTheDefaultAndIsStoredOnClose)
{
    makeMain();
    EXPECT_EQ(main->x(), 67);
    EXPECT_EQ(main->y(), 67);
    EXPECT_EQ(main->width(), 433);
    EXPECT_EQ(main->height(), 433);
    EXPECT_EQ(main->windowTitle(), Strings::Load(1104));
    main->move(200, 100);
    main->close();
    QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    s.beginGroup(QStringLiteral("Settings"));
    EXPECT_EQ(s.value(QStringLiteral("MainLeft")).toString(), QStringLiteral("3000"));
    EXPECT_EQ(s.value(QStringLiteral("MainTop")).toString(), QStringLiteral("1500"));
    EXPECT_EQ(s.value(QStringLiteral("MainWidth")).toString(), QStringLiteral("6495"));
    EXPECT_EQ(s.value(QStringLiteral("MainHeight")).toString(), QStringLiteral("6495"));
}

TEST_F(MainWindowTest, MinimisedCloseKeepsThePlacementAndJunkGivesTheDefault)
{
    {
        QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
        s.beginGroup(QStringLiteral("Settings"));
        s.setValue(QStringLiteral("MainLeft"), QStringLiteral("1500"));
        s.setValue(QStringLiteral("MainTop"), QStringLiteral("750.5"));
        s.setValue(QStringLiteral("MainWidth"), QStringLiteral("douze"));
        s.setValue(QStringLiteral("MainHeight"), QStringLiteral("9000"));
    }
    makeMain();
    EXPECT_EQ(main->x(), 100);
    EXPECT_EQ(main->y(), 50);
    EXPECT_EQ(main->width(), 433);
    EXPECT_EQ(main->height(), 600);
    main->showMinimized();
    main->close();
    QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    s.beginGroup(QStringLiteral("Settings"));
    EXPECT_EQ(s.value(QStringLiteral("MainLeft")).toString(), QStringLiteral("1500"));
    EXPECT_EQ(s.value(QStringLiteral("MainWidth")).toString(), QStringLiteral("douze"));
}

TEST_F(MainWindowTest, PlacementOutOfAllReachGivesTheDefault)
{
    {
        QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
        s.beginGroup(QStringLiteral("Settings"));
        s.setValue(QStringLiteral("MainLeft"), QStringLiteral("1E+30"));
        s.setValue(QStringLiteral("MainTop"), QStringLiteral("-4e12"));
        s.setValue(QStringLiteral("MainWidth"), QStringLiteral("3e9"));
        s.setValue(QStringLiteral("MainHeight"), QStringLiteral("9000"));
    }
    makeMain();
    EXPECT_EQ(main->x(), 67);
    EXPECT_EQ(main->y(), 67);
    EXPECT_EQ(main->width(), 433);
    EXPECT_EQ(main->height(), 600);
}

// A placement kept from a screen no longer attached would open the program
// out of reach: with no part of the window on a screen the default is taken,
// with a part on one the placement is kept.
TEST_F(MainWindowTest, PlacementOffEveryScreenGivesTheDefault)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 800, 800));
    const struct {
        const char *left, *top;
        int x, y, width;
    } cases[] = {
        {"12000", "1500", 67, 67, 433},     // starts right of the screen's last column
        {"-6000", "1500", 67, 67, 433},     // ends left of its first
        {"1500", "-9750", 67, 67, 433},     // ends above it
        {"-5985", "-9735", -399, -649, 400},   // its last pixel is the screen's first
    };
    for (const auto &c : cases) {
        {
            QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
            s.beginGroup(QStringLiteral("Settings"));
            s.setValue(QStringLiteral("MainLeft"), QLatin1String(c.left));
            s.setValue(QStringLiteral("MainTop"), QLatin1String(c.top));
            s.setValue(QStringLiteral("MainWidth"), QStringLiteral("6000"));
            s.setValue(QStringLiteral("MainHeight"), QStringLiteral("9750"));
        }
        makeMain();
        EXPECT_EQ(main->x(), c.x) << c.left << " " << c.top;
        EXPECT_EQ(main->y(), c.y) << c.left << " " << c.top;
        EXPECT_EQ(main->width(), c.width) << c.left << " " << c.top;
        main->showMinimized();   // closed without storing, for the next case
        main->close();
    }
}

// The placement is stored only once the program really ends: leaving refused
// at the question about a character being made writes nothing.
TEST_F(MainWindowTest, PlacementIsStoredOnlyWhenLeavingGoesThrough)
{
    makeMain();
    main->mnuFileNew->trigger();
    main->move(200, 100);
    ui->answerMsgBox(ports::No, QStringLiteral("n'est pas terminé"));
    EXPECT_FALSE(main->close());
    QSettings s(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    s.beginGroup(QStringLiteral("Settings"));
    EXPECT_FALSE(s.contains(QStringLiteral("MainLeft")));

    main->move(300, 150);
    ui->answerMsgBox(ports::Yes, QStringLiteral("n'est pas terminé"));
    EXPECT_TRUE(main->close());
    s.sync();
    EXPECT_EQ(s.value(QStringLiteral("MainLeft")).toString(), QStringLiteral("4500"));
    EXPECT_EQ(s.value(QStringLiteral("MainTop")).toString(), QStringLiteral("2250"));
}

// ------------------------------------------------------------------ toolbar

TEST_F(MainWindowTest, MenusAndToolbarAreLocalised)
{
    makeMain();
    EXPECT_EQ(main->mnuFileNew->text(), Strings::Load(1002));
    EXPECT_EQ(main->mnuFileExit->text(), Strings::Load(1012));
    EXPECT_EQ(main->mnuWindowCascade->text(), Strings::Load(1027));
    EXPECT_EQ(main->Button(1)->toolTip(), Strings::Load(1002));
    EXPECT_EQ(main->Button(5)->toolTip(), Strings::Load(1010));
    EXPECT_EQ(main->Button(6)->toolTip(), Strings::Load(3514));
    EXPECT_EQ(main->Button(10)->toolTip(), Strings::Load(3092));
    EXPECT_TRUE(main->Button(4)->isSeparator());
    EXPECT_TRUE(main->Button(9)->isSeparator());
}

TEST_F(MainWindowTest, ToolbarFollowsTheCurrentCharacterAndTheWindowInFront)
{
    makeMain();
    EXPECT_EQ(fiveButtons(), QStringLiteral("00000"));
    EXPECT_TRUE(main->Button(1)->isEnabled());
    EXPECT_TRUE(main->Button(2)->isEnabled());

    RedimPlayer();
    // A current character but no window in front: nothing to act on.
    main->setTag(QStringLiteral("1"));
    main->MDIForm_Activate();
    EXPECT_EQ(fiveButtons(), QStringLiteral("00000"));

    auto *sheet = new frmGeneral;
    GeneralForms.put(1, sheet);
    sheet->setTag(QStringLiteral("1"));
    main->Present(sheet);
    main->MDIForm_Activate();
    EXPECT_EQ(fiveButtons(), QStringLiteral("11011"));

    auto *skill = new frmSkillDev;
    SkillDevForms.put(1, skill);
    skill->setTag(QStringLiteral("1"));
    main->Present(skill);
    for (const char *stage : {"Linguistique", "Historique", "Hobby Ranks"}) {
        skill->setStageMarker(QLatin1String(stage));
        main->MDIForm_Activate();
        EXPECT_EQ(fiveButtons(), QStringLiteral("00000")) << stage;
    }
    skill->setStageMarker(QString());
    main->MDIForm_Activate();
    EXPECT_EQ(fiveButtons(), QStringLiteral("11101"));
    Players(1).PointsBO = 2;
    main->MDIForm_Activate();
    EXPECT_EQ(fiveButtons(), QStringLiteral("00000"));
    Players(1).PointsBO = 0;

    // New and Open are never touched.
    EXPECT_TRUE(main->Button(1)->isEnabled());
    EXPECT_TRUE(main->Button(2)->isEnabled());
    // Button 6 has no action.
    main->tbToolBar_ButtonClick(QString());
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);
}

// ------------------------------------------------------------------ File > New, Open

TEST_F(MainWindowTest, NewTwiceThenOpenNumbersOneTwoThree)
{
    const QString file = savedCharacter(QStringLiteral("brune.pja"), QStringLiteral("Brunehilde"));
    makeMain();
    main->mnuFileNew->trigger();
    ASSERT_NE(InitForms[1], nullptr);
    EXPECT_TRUE(frameOf(InitForms[1])->isMaximized());
    press("New");
    ASSERT_EQ(PlayerCount, 2);
    EXPECT_TRUE(frameOf(InitForms[2])->isMaximized());
    for (int n : {1, 2}) {
        auto *w = qobject_cast<frmInitChoise *>(InitForms[n]);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->Tag(), QString::number(n));
        EXPECT_EQ(Players(n).Nom, QStringLiteral("Nouveau joueur %1").arg(n));
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Nouveau joueur %1 (Culture)").arg(n));
        EXPECT_TRUE(w->optSex[0]->isChecked());
        EXPECT_FLOAT_EQ(Players(n).Age, 18.0f);
        EXPECT_EQ(Players(n).Money, 20000);
    }
    EXPECT_EQ(main->mdiArea()->currentSubWindow(), frameOf(InitForms[2]));
    EXPECT_EQ(main->Tag(), QString());   // New leaves the current character alone

    ui->answerOpenFile(file);
    press("Open");
    const auto dialogs = ui->callsOf(ScriptedPorts::Kind::OpenFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, QStringLiteral("All Files (*.pja)|*.pja"));
    EXPECT_EQ(dialogs[0].extra, AppFolder());
    ASSERT_EQ(PlayerCount, 3);
    EXPECT_EQ(Players(3).Nom, QStringLiteral("Brunehilde"));
    EXPECT_EQ(Players(3).FileName, file);
    EXPECT_EQ(main->Tag(), QStringLiteral("3"));
    CharacterWindow *sheet = GeneralForms[3];
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->objectName(), QStringLiteral("frmGeneral"));
    EXPECT_EQ(sheet->Tag(), QStringLiteral("3"));
    EXPECT_TRUE(frameOf(sheet)->isMaximized());
    // The skill window is made but neither filled nor shown.
    CharacterWindow *skill = SkillDevForms[3];
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->Tag(), QString());
    EXPECT_FALSE(skill->isVisible());
    EXPECT_EQ(fiveButtons(), QStringLiteral("11011"));
}

TEST_F(MainWindowTest, OpenGrowsTheFrameUntilTheWholeSheetShowsAsNewDoes)
{
    const QString file = savedCharacter(QStringLiteral("brune.pja"), QStringLiteral("Brunehilde"));
    makeMain();
    ASSERT_EQ(main->size(), QSize(433, 433));   // first run
    ui->answerOpenFile(file);
    press("Open");
    CharacterWindow *sheet = GeneralForms[1];
    ASSERT_NE(sheet, nullptr);
    const QSize page = sheet->findChild<QWidget *>(QStringLiteral("page"))->size();
    // As far as the screen allows: the offscreen screen may be the smaller.
    const QSize avail = main->screen()->availableGeometry().size();
    const QSize view = main->mdiArea()->viewport()->size();
    EXPECT_GT(main->width(), 433);
    EXPECT_GT(main->height(), 433);
    EXPECT_TRUE(view.width() >= page.width() || main->frameGeometry().width() >= avail.width()) << view.width();
    EXPECT_TRUE(view.height() >= page.height() || main->frameGeometry().height() >= avail.height())
        << view.height();
}

TEST_F(MainWindowTest, CancelledOpenUsesNoNumber)
{
    makeMain();
    ui->answerOpenFile(QString());
    main->mnuFileOpen->trigger();
    EXPECT_EQ(PlayerCount, 0);
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    main->mnuFileNew->trigger();
    EXPECT_EQ(Players(1).Nom, QStringLiteral("Nouveau joueur 1"));
}

TEST_F(MainWindowTest, UnreadableFileOpensNoWindowAndGivesItsNumberBack)
{
    // A text file posing as a character: the load fails, no half-read record
    // stays behind for a later Save to write over the player's file, and the
    // number goes to the next character, however many opens failed before.
    const QString path = tempPath(QStringLiteral("notes.pja"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
    }
    makeMain();
    for (int i = 0; i < OpenCharacterLimit + 1; ++i) {
        ui->answerOpenFile(path);
        ui->expectError(QStringLiteral("LoadP"));
        main->mnuFileOpen->trigger();
    }
    EXPECT_EQ(PlayerCount, 0);
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(GeneralForms[1], nullptr);
    EXPECT_EQ(main->Tag(), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(2048, 'x'));

    ui->answerOpenFile(savedCharacter(QStringLiteral("vrai.pja"), QStringLiteral("Brenna")));
    main->mnuFileOpen->trigger();
    EXPECT_EQ(PlayerCount, 1);
    EXPECT_EQ(Players(1).Nom, QStringLiteral("Brenna"));
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));
}

// A journal left beside a character file may name any file as the journal of
// a change over several files; opening the character reaches none of them and
// takes the change back as the file's own.
TEST_F(MainWindowTest, OpeningAFileWhoseJournalNamesAnotherFileLeavesThatFile)
{
    const QString hero = savedCharacter(QStringLiteral("hero.pja"), QStringLiteral("Brenna"));
    const QString notes = tempPath(QStringLiteral("notes.txt"));
    filetest::writeBytes(notes, "the player's notes");
    filetest::stopMidChange(hero, "UPDATE \"General\" SET Nom = 'Torn'", QFile::encodeName(notes));
    makeMain();
    ui->answerOpenFile(hero);
    main->mnuFileOpen->trigger();
    EXPECT_EQ(Players(1).Nom, QStringLiteral("Brenna"));
    EXPECT_EQ(filetest::bytes(notes), QByteArray("the player's notes"));
}

TEST_F(MainWindowTest, FullWindowTablesRefuseBeforeANumberIsUsed)
{
    makeMain();
    PlayerCount = 9;
    main->mnuFileNew->trigger();
    EXPECT_EQ(PlayerCount, 10);
    ASSERT_NE(InitForms[10], nullptr);

    // What is counted: the numbers 1 to 10, held by characters not given up.
    ui->answerMsgBox(ports::Ok, QStringLiteral("un nouveau personnage prend un numéro de 1 à 10, et chacun d'eux "
                                               "est tenu par un personnage créé ou ouvert"));
    main->mnuFileNew->trigger();
    EXPECT_EQ(PlayerCount, 10);
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().style, ports::OkOnly | ports::Exclamation);

    // Number 10 given up while an opened 11 stays: New gives it again.
    ui->answerOpenFile(savedCharacter(QStringLiteral("onze.pja"), QStringLiteral("Onze")));
    main->mnuFileOpen->trigger();
    main->mdiArea()->setActiveSubWindow(frameOf(InitForms.peek(10)));
    ui->answerMsgBox(ports::Yes, QStringLiteral("Nouveau joueur 10 n'est pas terminé"));
    main->mnuFileClose->trigger();
    main->mnuFileNew->trigger();
    ASSERT_NE(InitForms.peek(10), nullptr);
    EXPECT_EQ(InitForms.peek(10)->windowTitle(), QStringLiteral("Nouveau joueur 10 (Culture)"));
    EXPECT_EQ(PlayerCount, 11);

    PlayerCount = 30;
    ui->answerMsgBox(ports::Ok, QStringLiteral("30"));
    main->mnuFileOpen->trigger();   // refused before the dialog: no file is asked for
    EXPECT_EQ(PlayerCount, 30);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::OpenFile), 1);   // the eleventh's only
}

// File > Close on a character still being made asks first; given up, its
// number goes to the next File > New. Leaving the program asks the same, and
// a No keeps the program open.
TEST_F(MainWindowTest, ClosingACharacterBeingMadeAsksAndNewTakesItsNumber)
{
    makeMain();
    main->mnuFileNew->trigger();
    main->mnuFileNew->trigger();
    main->mdiArea()->setActiveSubWindow(frameOf(InitForms[1]));
    ui->answerMsgBox(ports::No, QStringLiteral("Nouveau joueur 1 n'est pas terminé"));
    main->mnuFileClose->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);

    ui->answerMsgBox(ports::Yes, QStringLiteral("Nouveau joueur 1 n'est pas terminé"));
    main->mnuFileClose->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(InitForms.peek(1), nullptr);
    main->mnuFileNew->trigger();
    ASSERT_NE(InitForms.peek(1), nullptr);
    EXPECT_EQ(InitForms.peek(1)->windowTitle(), QStringLiteral("Nouveau joueur 1 (Culture)"));
    EXPECT_EQ(PlayerCount, 2);

    // Leaving asks before any window closes; a No keeps every one open.
    ui->answerMsgBox(ports::No, QStringLiteral("n'est pas terminé"));
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);

    // Both given up, the newer last: no number stays taken.
    for (int n : {1, 2}) {
        main->mdiArea()->setActiveSubWindow(frameOf(InitForms.peek(n)));
        ui->answerMsgBox(ports::Yes, QStringLiteral("Nouveau joueur %1 n'est pas terminé").arg(n));
        main->mnuFileClose->trigger();
    }
    EXPECT_EQ(PlayerCount, 0);
    EXPECT_EQ(Players.size(), 0);
}

// ------------------------------------------------------------------ Save, Save As

TEST_F(MainWindowTest, SaveAsksForANameOnceThenWritesWithoutADialog)
{
    makeMain();
    main->mnuFileNew->trigger();
    const QString file = tempPath(QStringLiteral("premier.pja"));
    ui->answerSaveFile(file);
    main->mnuFileSave->trigger();
    const auto dialogs = ui->callsOf(ScriptedPorts::Kind::SaveFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].preset, QStringLiteral("Nouveau joueur 1.pja"));
    EXPECT_EQ(dialogs[0].text, QStringLiteral("All Files (*.pja)|*.pja"));
    EXPECT_EQ(Players(1).FileName, file);
    ASSERT_TRUE(QFile::exists(file));

    Players(1).Nom = QStringLiteral("Aldric");
    main->mnuFileSave->trigger();   // no dialog this time (the script has none)
    Personnage back;
    back.FileName = file;
    back.LoadP();
    EXPECT_EQ(back.Nom, QStringLiteral("Aldric"));
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::SaveFile), 1);
}

// A bonus still being typed in the skill window is saved, as leaving its box
// would store it, and so is one typed before the window closes.
TEST_F(MainWindowTest, SaveAndClosingTheSkillWindowStoreTheBonusBeingTyped)
{
    Personnage made;
    made.Nom = QStringLiteral("Odo");
    PersonnageAccess::RedimSkillCat(made);
    made.AddSkill(Personnage::fId, 0, RankKind::SkillCategory, 12);
    PersonnageAccess::RedimSkill(made);
    made.AddSkill(Personnage::fId, 0, RankKind::Skill, 81);
    made.FileName = tempPath(QStringLiteral("odo.pja"));
    ASSERT_TRUE(made.SaveP());
    makeMain();
    ui->answerOpenFile(made.FileName);
    main->mnuFileOpen->trigger();
    press("Skill");
    auto *skill = qobject_cast<frmSkillDev *>(SkillDevForms[1]);
    ASSERT_NE(skill, nullptr);
    const auto typeIn = [skill](const char *key, QLineEdit *box, const char *text) {
        skill->trvSkillCategorie_NodeClick(skill->NodeByKey(QString::fromLatin1(key)));
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
    };
    const auto saved = [&made](bool category, qint32 field) {
        Personnage back;
        back.FileName = made.FileName;
        back.LoadP();
        return category ? back.DirSkillsCat(field, 0) : back.DirSkills(field, 0);
    };
    typeIn("SC12", skill->labBonusSkillCat[3], "9");
    main->mnuFileSave->trigger();
    EXPECT_EQ(saved(true, 3), 9);
    typeIn("SK0/81", skill->labBonusSkill[2], "4");   // a skill's item bonus
    main->mnuFileSave->trigger();
    EXPECT_EQ(saved(false, 2), 4);
    typeIn("SC12", skill->labBonusSkillCat[3], "7");
    frameOf(skill)->close();
    EXPECT_EQ(Players(1).DirSkillsCat(3, 0), 7);
}

TEST_F(MainWindowTest, SaveAsThatFailsSaysItOnceAndKeepsTheCharactersFile)
{
    makeMain();
    main->mnuFileNew->trigger();
    const QString file = tempPath(QStringLiteral("premier.pja"));
    ui->answerSaveFile(file);
    main->mnuFileSaveAs->trigger();
    ASSERT_EQ(Players(1).FileName, file);
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // A folder that is not there, then a folder standing at the name.
    ASSERT_TRUE(QDir(tempPath(QString())).mkdir(QStringLiteral("dossier.pja")));
    for (const QString &bad : {tempPath(QStringLiteral("absent/second.pja")), tempPath(QStringLiteral("dossier.pja"))}) {
        ui->answerSaveFile(bad);
        ui->expectError(QStringLiteral("SaveP"));
        main->mnuFileSaveAs->trigger();
        EXPECT_EQ(Players(1).FileName, file) << bad.toStdString();
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 2);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 0);

    // Save goes back to the file the character has, untouched so far.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();
    Players(1).Nom = QStringLiteral("Aldric");
    main->mnuFileSave->trigger();
    Personnage back;
    back.FileName = file;
    EXPECT_TRUE(back.LoadP());
    EXPECT_EQ(back.Nom, QStringLiteral("Aldric"));
}

TEST_F(MainWindowTest, CancelledSaveAsAndNoWindowInFrontChangeNothing)
{
    makeMain();
    main->mnuFileSave->trigger();
    main->mnuFileSaveAs->trigger();
    EXPECT_TRUE(ui->calls().empty());

    main->mnuFileNew->trigger();
    ui->answerSaveFile(QString());
    main->mnuFileSaveAs->trigger();
    EXPECT_TRUE(Players(1).FileName.isEmpty());
}

TEST_F(MainWindowTest, SaveAsPresetKeepsFolderSeparatorsOutOfTheName)
{
    makeMain();
    main->mnuFileNew->trigger();
    Players(1).Nom = QStringLiteral("Yves/Ombre\\Noire");
    ui->answerSaveFile(QString());
    main->mnuFileSaveAs->trigger();
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::SaveFile).at(0).preset, QStringLiteral("Yves_Ombre_Noire.pja"));
}

// ------------------------------------------------------------------ Print, Preview

TEST_F(MainWindowTest, PrintPrintsEveryPageOfTheCurrentCharacterAndCancelStopsIt)
{
    makeMain();
    RedimPlayer();
    RedimPlayer();
    main->setTag(QStringLiteral("2"));
    Players(1).Nom = QStringLiteral("Premier");
    Players(2).Nom = QStringLiteral("Second");
    const PrintedPdf pdf(tempPath(QStringLiteral("feuille.pdf")));

    ui->answerPrint(false);
    main->mnuFilePrint->trigger();
    EXPECT_FALSE(pdf.printed());

    ui->answerPrint(true);
    main->mnuFilePrint->trigger();
    ASSERT_TRUE(pdf.printed());
    EXPECT_GE(pdf.pages(), 2);   // the main page and the skill pages
    EXPECT_TRUE(pdf.text().contains(QStringLiteral("Second")));
    EXPECT_FALSE(pdf.text().contains(QStringLiteral("Premier")));
    EXPECT_EQ(ModPrint::PrintToPrinter, 0);
}

TEST_F(MainWindowTest, FailedPrintIsReportedAndTheNextPreviewStaysOnScreen)
{
    makeMain();
    RedimPlayer();
    main->setTag(QStringLiteral("1"));
    const PrintedPdf nowhere(tempPath(QStringLiteral("no/such/folder/x.pdf")));
    ui->answerPrint(true);
    ui->expectError(QStringLiteral("Setup_Page"));
    main->mnuFilePrint->trigger();
    EXPECT_EQ(ModPrint::PrintToPrinter, 0);

    // The toolbar's Print opens the preview, never the printer.
    const PrintedPdf pdf(tempPath(QStringLiteral("apercu.pdf")));
    ModalDriver driver;
    driver.then([](QWidget *w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("frmPrint"));
        EXPECT_EQ(w->property("Tag").toString(), QStringLiteral("1"));
        qobject_cast<QDialog *>(w)->reject();
    });
    main->MDIForm_Activate();
    EXPECT_FALSE(main->Button(5)->isEnabled());   // no window in front
    main->tbToolBar_ButtonClick(QStringLiteral("Print"));
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_FALSE(pdf.printed());
}

// ------------------------------------------------------------------ General, Skill, Level

TEST_F(MainWindowTest, GeneralLoadsAClosedSheetAgainAndLevelStartsTheNextLevel)
{
    const QString file = savedCharacter(QStringLiteral("a.pja"), QStringLiteral("Anselme"));
    makeMain();
    ui->answerOpenFile(file);
    main->mnuFileOpen->trigger();
    ASSERT_EQ(main->Tag(), QStringLiteral("1"));

    press("Skill");
    auto *skill = qobject_cast<frmSkillDev *>(SkillDevForms[1]);
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->Tag(), QStringLiteral("1"));
    EXPECT_TRUE(frameOf(skill)->isMaximized());
    EXPECT_EQ(main->mdiArea()->currentSubWindow(), frameOf(skill));
    EXPECT_EQ(fiveButtons(), QStringLiteral("11101"));

    // Close the sheet: the skill window comes in front and makes 1 current again.
    CharacterWindow *oldSheet = GeneralForms[1];
    main->mdiArea()->setActiveSubWindow(frameOf(oldSheet));
    frameOf(oldSheet)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->mdiArea()->currentSubWindow(), frameOf(skill));
    EXPECT_EQ(main->Tag(), QStringLiteral("1"));
    EXPECT_EQ(fiveButtons(), QStringLiteral("11101"));

    press("General");
    auto *sheet = qobject_cast<frmGeneral *>(GeneralForms[1]);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->Tag(), QStringLiteral("1"));
    EXPECT_EQ(sheet->txtNom->text(), QStringLiteral("Anselme"));
    ASSERT_NE(frameOf(sheet), nullptr);
    EXPECT_TRUE(frameOf(sheet)->isMaximized());
    EXPECT_EQ(fiveButtons(), QStringLiteral("11011"));

    Players(1).PdeD = -1;
    skill->btnEnd->setEnabled(false);
    press("Level");
    EXPECT_TRUE(skill->btnEnd->isEnabled());
    // The record computes the points of the level (and keeps them).
    EXPECT_NE(Players(1).PdeD, -1);
    EXPECT_EQ(skill->labPD->text(), QString::number(Players(1).PdeD));
    EXPECT_EQ(main->mdiArea()->currentSubWindow(), frameOf(skill));
}

TEST_F(MainWindowTest, ClosingTheSkillWindowClearsTheCurrentCharacter)
{
    const QString file = savedCharacter(QStringLiteral("b.pja"), QStringLiteral("Bertrade"));
    makeMain();
    ui->answerOpenFile(file);
    main->mnuFileOpen->trigger();
    press("Skill");
    CharacterWindow *skill = SkillDevForms[1];
    frameOf(GeneralForms[1])->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frameOf(skill)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->Tag(), QString());
    EXPECT_EQ(fiveButtons(), QStringLiteral("00000"));
    // General and Skill with no current character do nothing.
    press("General");
    press("Skill");
    press("Level");
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
}

// ------------------------------------------------------------------ Window, Help, Exit

TEST_F(MainWindowTest, WindowMenuArrangesTheChildren)
{
    makeMain();
    main->resize(900, 700);
    main->mnuFileNew->trigger();
    main->mnuFileNew->trigger();
    QMdiSubWindow *a = frameOf(InitForms[1]);
    QMdiSubWindow *b = frameOf(InitForms[2]);
    main->mnuWindowTileVertical->trigger();
    EXPECT_FALSE(a->isMaximized());
    EXPECT_EQ(a->y(), b->y());
    EXPECT_LT(a->x(), b->x());
    main->mnuWindowTileHorizontal->trigger();
    EXPECT_EQ(a->x(), b->x());
    EXPECT_LT(a->y(), b->y());
    main->mnuWindowCascade->trigger();
    EXPECT_NE(a->pos(), b->pos());

    // Nine icons in an 800-pixel frame: rows along the bottom, none outside it
    // and none on another.
    for (int i = 0; i < 7; ++i)
        main->mnuFileNew->trigger();
    main->resize(800, 600);
    const QList<QMdiSubWindow *> all = main->mdiArea()->subWindowList();
    main->mnuWindowTileHorizontal->trigger();
    for (QMdiSubWindow *sub : all)
        sub->showMinimized();
    main->mnuWindowArrangeIcons->trigger();
    for (QMdiSubWindow *sub : all) {
        EXPECT_TRUE(main->mdiArea()->viewport()->rect().contains(sub->geometry())) << sub->windowTitle().toStdString();
        for (QMdiSubWindow *other : all)
            EXPECT_TRUE(other == sub || !other->geometry().intersects(sub->geometry()));
    }
}

TEST_F(MainWindowTest, AboutShowsTheSplashModallyAndExitClosesTheWindow)
{
    makeMain();
    ModalDriver driver;
    driver.then([](QWidget *w) {
        EXPECT_NE(qobject_cast<frmSplash *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Q);
    });
    main->mnuHelpAbout->trigger();
    EXPECT_TRUE(driver.allStepsRan());
    main->mnuFileExit->trigger();
    EXPECT_FALSE(main->isVisible());
}

// ------------------------------------------------------------------ windows made small

namespace {

enum Kind { Cultures, Professions, Statistics, Skills, Sheet };
const char *const kKinds[] = {"Cultures", "Professions", "Statistics", "Skills", "Sheet"};
// How many windows share the frame with it, and the Window menu's entry (none:
// the player sizes the window by hand).
const struct {
    const char *name;
    int others;
    QAction *frmMain::*entry;
} kSizes[] = {{"TileVerticalTwo", 1, &frmMain::mnuWindowTileVertical},
              {"TileHorizontalSix", 5, &frmMain::mnuWindowTileHorizontal},
              {"CascadeThree", 2, &frmMain::mnuWindowCascade},
              {"ByHand", 0, nullptr}};

// A character window shown in the frame, then made small as the Window menu
// or the player makes it: it keeps its layout and scrolls what the frame
// cannot hold, and the frame holds the whole window.
class WindowMadeSmallTest : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<int, int>> {
protected:
    CharacterWindow *make(int kind)
    {
        if (kind <= Statistics) {
            main->mnuFileNew->trigger();
            auto *w = qobject_cast<frmInitChoise *>(InitForms[PlayerCount]);
            for (int next = 0; next < kind; ++next)
                w->btnNext_Click();
            return kind == Statistics ? StatChoiceForms[PlayerCount] : w;
        }
        ui->answerOpenFile(savedCharacter(QStringLiteral("c%1.pja").arg(PlayerCount), QStringLiteral("Clothaire")));
        main->mnuFileOpen->trigger();
        if (kind == Sheet)
            return GeneralForms[PlayerCount];
        press("Skill");
        return SkillDevForms[PlayerCount];
    }
};

// What the player sees of a window: every visible widget but the inner parts
// of lists, boxes and scroll areas.
QList<QWidget *> Controls(QWidget *parent, const QWidget *window)
{
    QList<QWidget *> out;
    for (QWidget *c : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!c->isVisibleTo(window))
            continue;
        out << c;
        if (!qobject_cast<QAbstractScrollArea *>(c) && !qobject_cast<QComboBox *>(c) && !qobject_cast<QTabBar *>(c))
            out << Controls(c, window);
    }
    return out;
}

// The least size a layout gives a control: its own least size where it has one.
QSize Least(const QWidget *c)
{
    const QSize s = c->minimumSizeHint().boundedTo(c->maximumSize());
    return {c->minimumWidth() > 0 ? c->minimumWidth() : s.width(), c->minimumHeight() > 0 ? c->minimumHeight() : s.height()};
}

// Sibling controls drawn over each other.
std::set<std::pair<QWidget *, QWidget *>> Overlaps(const QList<QWidget *> &controls)
{
    std::set<std::pair<QWidget *, QWidget *>> out;
    for (QWidget *a : controls)
        for (QWidget *b : controls)
            if (a < b && a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                out.insert({a, b});
    return out;
}

void Settle()
{
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST_P(WindowMadeSmallTest, KeepsItsLayoutAndScrollsWithinTheFrame)
{
    const auto &size = kSizes[std::get<1>(GetParam())];
    makeMain();
    main->resize(1600, 1200);   // room for every layout: what it draws over itself then, it may draw over itself
    for (int i = 0; i < size.others; ++i)
        main->mnuFileNew->trigger();
    CharacterWindow *w = make(std::get<0>(GetParam()));
    ASSERT_NE(w, nullptr);
    Settle();
    auto *scroll = w->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    QWidget *page = scroll->widget();
    const auto drawnOver = Overlaps(Controls(page, w));

    main->resize(800, 600);
    Settle();
    if (size.entry) {
        (main.get()->*size.entry)->trigger();
    } else {
        frameOf(w)->showNormal();
        frameOf(w)->setGeometry(40, 30, 320, 240);
    }
    Settle();

    EXPECT_TRUE(main->mdiArea()->viewport()->rect().contains(frameOf(w)->geometry()));
    EXPECT_EQ(Controls(w, w).first(), scroll);   // nothing shown outside the scrolled page
    EXPECT_GE(scroll->horizontalScrollBar()->maximum(), page->width() - scroll->viewport()->width());
    EXPECT_GE(scroll->verticalScrollBar()->maximum(), page->height() - scroll->viewport()->height());
    const QList<QWidget *> controls = Controls(page, w);
    for (QWidget *c : controls) {
        const std::string name = c->objectName().toStdString();
        EXPECT_TRUE(page->rect().contains(QRect(c->mapTo(page, QPoint()), c->size()))) << name;
        if (c->testAttribute(Qt::WA_LaidOut))
            EXPECT_TRUE(c->width() >= Least(c).width() && c->height() >= Least(c).height()) << name << " squashed";
    }
    for (const auto &[a, b] : Overlaps(controls))
        EXPECT_TRUE(drawnOver.count({a, b})) << a->objectName().toStdString() << " over " << b->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowMadeSmallTest, ::testing::Combine(::testing::Range(0, 5), ::testing::Range(0, 4)),
                         [](const auto &info) {
                             return std::string(kKinds[std::get<0>(info.param)]) + kSizes[std::get<1>(info.param)].name;
                         });
