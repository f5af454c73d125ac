// The culture and profession pages: what the load shows and writes, the
// choices written into the record, the race grid, the professions tabs, the
// realm chooser and the hand-over or reset when the window goes.
#include "NewCharFixture.h"

#include "background/frmArmeAdolescence.h"
#include "character/Players.h"
#include "newcharacter/frmInitChoise.h"
#include "newcharacter/frmStatChoises.h"
#include "platform/Strings.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>

namespace {

using Kind = ScriptedPorts::Kind;

QString metric(const char *text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

class InitChoiseTest : public NewCharFixture {
protected:
    int n = 0;
    QPointer<frmInitChoise> w;
    // As File > New opens it.
    void SetUp() override
    {
        NewCharFixture::SetUp();
        n = newCharacter();
        ModGeneral::Players(n).Nom = QStringLiteral("Personnage 1");
        w = new frmInitChoise;
        InitForms.put(n, w);
        EXPECT_EQ(ModGeneral::Players(n).Culture_ID, 0);   // the load writes nothing
        w->setTag(QString::number(n));
        w->optSex[0]->setChecked(true);
    }
    void TearDown() override
    {
        delete w.data();
        NewCharFixture::TearDown();
    }
    Personnage &p() { return ModGeneral::Players(n); }
    int raceRow(qint32 race)
    {
        for (int k = 1; k < static_cast<int>(w->RaceIDs.size()); ++k)
            if (w->RaceIDs[k] == race)
                return k - 1;
        return -1;
    }
    void toProfessions()
    {
        w->btnNext_Click();
        ASSERT_EQ(w->PageTag(), QStringLiteral("3005"));
    }
};

TEST_F(InitChoiseTest, LoadListsCulturesAndRacesAndShowsTheFirstCulture)
{
    ASSERT_EQ(w->lstCulture->count(), 9);
    EXPECT_EQ(w->lstCulture->itemText(0), QStringLiteral("Citadins de Port-Vasque"));
    EXPECT_EQ(w->lstCulture->itemText(1), QStringLiteral("Eldrins des Îles de Brume"));   // accents fold
    EXPECT_EQ(w->lstCulture->currentIndex(), 0);
    EXPECT_EQ(w->grdRaceBonus->rowCount(), 7);   // one row per race, none trailing
    EXPECT_EQ(w->grdRaceBonus->item(0, 0)->text(), QStringLiteral("Brannois"));
    EXPECT_EQ(w->grdRaceBonus->horizontalHeaderItem(1)->text(), Strings::Load(3065));
    EXPECT_EQ(w->grdRaceBonus->horizontalHeaderItem(17)->text(), Strings::Load(3055));
    EXPECT_EQ(w->grdRaceBonus->item(0, 17)->text(), QStringLiteral("0•5•3•2•1"));
    // The race of the culture shown is highlighted across the grid.
    EXPECT_EQ(w->grdRaceBonus->currentRow(), raceRow(1));
    EXPECT_EQ(w->grdRaceBonus->selectionModel()->selectedIndexes().size(), w->grdRaceBonus->columnCount());
    EXPECT_EQ(w->TabInitchoises->count(), 2);
    EXPECT_EQ(w->TabInitchoises->tabText(1), Strings::Load(3003));
    EXPECT_EQ(ui->count(Kind::ProgressShow), 1);
    EXPECT_EQ(ui->count(Kind::ProgressClose), 1);

    // The male option File > New sets writes sex, weight and height only.
    EXPECT_EQ(p().Culture_ID, 0);
    EXPECT_EQ(p().Race_ID, 0);
    EXPECT_FALSE(p().Sexe);
    EXPECT_EQ(w->txtCulture[0]->text(), metric("68.1"));   // 150 pounds
    EXPECT_EQ(w->txtCulture[1]->text(), metric("1.82"));   // 6 feet
    EXPECT_FLOAT_EQ(p().Poids, 68.1f);
    EXPECT_FLOAT_EQ(p().Grandeur, 1.82f);
    EXPECT_FALSE(w->txtNote[0]->toPlainText().isEmpty());

    bool weaponChoice = false, chosenSkill = false;
    for (int r = 0; r < w->grdAdolescence->rowCount(); ++r) {
        weaponChoice |= w->grdAdolescence->item(r, 0)->text() == Strings::Load(3593);
        chosenSkill |= w->grdAdolescence->item(r, 0)->text() == QStringLiteral("     ") + Strings::Load(3591);
    }
    EXPECT_TRUE(weaponChoice);
    EXPECT_TRUE(chosenSkill);
}

TEST_F(InitChoiseTest, CultureRaceAndSexChoicesGoIntoTheRecord)
{
    w->lstCulture->setCurrentIndex(2);   // Élus de la Tour Grise, of race 2
    EXPECT_EQ(p().Culture_ID, 4);
    EXPECT_EQ(p().Race_ID, 2);
    EXPECT_FALSE(w->lstRace->isHidden());
    ASSERT_EQ(w->lstRace->count(), 2);
    EXPECT_EQ(w->lstRace->currentRow(), 1);   // the culture's own race, as the record holds it
    w->lstRace->setCurrentRow(0);
    EXPECT_EQ(p().Race_ID, 1);
    EXPECT_EQ(w->grdRaceBonus->currentRow(), raceRow(2));

    w->lstCulture->setCurrentIndex(1);   // Eldrins: their race only
    EXPECT_TRUE(w->lstRace->isHidden());
    EXPECT_TRUE(w->labRace[6]->isHidden());
    EXPECT_EQ(w->lstRace->count(), 1);
    EXPECT_EQ(p().Race_ID, 5);

    w->lstCulture->setCurrentIndex(0);
    w->optSex[1]->setChecked(true);
    EXPECT_TRUE(p().Sexe);
    EXPECT_EQ(w->txtCulture[0]->text(), metric("56.8"));   // 125 pounds
    EXPECT_EQ(w->txtCulture[1]->text(), metric("1.67"));   // 5.5 feet
    EXPECT_FLOAT_EQ(p().Poids, 56.8f);
    w->lstCulture->setCurrentIndex(1);   // the sex chosen stays for the next culture
    EXPECT_TRUE(p().Sexe);
    w->optSex[0]->setChecked(true);
    EXPECT_FALSE(p().Sexe);
}

TEST_F(InitChoiseTest, EachCultureShowsAPictureOfItsOwn)
{
    w->lstCulture->setCurrentIndex(0);
    const QImage first = w->oleImageCulture->pixmap().toImage();
    ASSERT_FALSE(first.isNull());
    w->lstCulture->setCurrentIndex(2);
    const QImage third = w->oleImageCulture->pixmap().toImage();
    ASSERT_FALSE(third.isNull());
    EXPECT_NE(first, third);
}

TEST_F(InitChoiseTest, RaceRowShowsItsNoteAndItsFirstCulture)
{
    w->lstCulture->setCurrentIndex(4);
    w->grdRaceBonus->setCurrentCell(raceRow(3), 0);
    w->grdRaceBonus_Click();
    EXPECT_EQ(w->lstCulture->currentText(), QStringLiteral("Sylvains des Frondaisons"));
    EXPECT_EQ(p().Culture_ID, 5);
    EXPECT_FALSE(w->txtNoteRace->toPlainText().isEmpty());

    w->grdRaceBonus->setCurrentCell(raceRow(1), 0);
    w->grdRaceBonus_Click();
    EXPECT_EQ(w->lstCulture->currentIndex(), 0);   // also the first culture of the whole list
    EXPECT_EQ(p().Culture_ID, 1);

    w->grdRaceBonus->setCurrentCell(raceRow(7), 0);   // a race no culture raises
    w->grdRaceBonus_Click();
    EXPECT_EQ(w->lstCulture->currentIndex(), 0);
    EXPECT_TRUE(w->txtNoteRace->toPlainText().startsWith(QStringLiteral("Pillards")));
}

// Closing the page asks whether to give the character up: No keeps the page
// and its choices, Yes drops the record and gives its number to the next one.
TEST_F(InitChoiseTest, ClosingAsksWhetherToGiveTheCharacterUp)
{
    w->lstCulture->setCurrentIndex(3);
    const qint32 culture = p().Culture_ID;
    ASSERT_NE(culture, 0);
    ui->answerMsgBox(ports::No, QStringLiteral("Personnage 1 n'est pas terminé"));
    w->close();
    flushDeletes();
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(p().Culture_ID, culture);

    ui->answerMsgBox(ports::Yes, QStringLiteral("Abandonner ce personnage"));
    w->close();
    flushDeletes();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(ModGeneral::Players.size(), 0);
    EXPECT_EQ(newCharacter(), n);
    EXPECT_EQ(p().Culture_ID, 0);
}

// A culture the list names but the rules no longer find: its box carries the
// program's title, as every other box does.
TEST_F(InitChoiseTest, ACultureTheRulesDoNotFindSaysSoUnderTheProgramTitle)
{
    w->CultureIDs[2] = 999;
    ui->answerMsgBox(ports::Ok, QStringLiteral("Problème !"));
    w->lstCulture->setCurrentIndex(2);
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Quorvane"));
}

TEST_F(InitChoiseTest, NextWithoutAClickTakesTheCultureShown)
{
    toProfessions();
    EXPECT_EQ(p().Culture_ID, 1);
    EXPECT_EQ(p().Race_ID, 1);
    EXPECT_FALSE(w->btnPrevious->isHidden());
    EXPECT_TRUE(w->picRace->isHidden());
    EXPECT_FALSE(w->PicProfession->isHidden());
}

TEST_F(InitChoiseTest, ProfessionsPageListsEachTabAndWritesTheChoice)
{
    w->lstCulture->setCurrentIndex(0);
    toProfessions();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Personnage 1 (") + Strings::Load(3005) + QStringLiteral(")"));
    ASSERT_EQ(w->TabInitchoises->count(), 6);
    EXPECT_EQ(w->TabInitchoises->tabText(0), Strings::Load(2011));
    ASSERT_EQ(w->lstProfession->count(), 1);
    EXPECT_EQ(w->lstProfession->itemText(0), QStringLiteral("Tisseur de trame"));
    EXPECT_EQ(p().Profession_ID, 1);
    EXPECT_EQ(p().Royaume_ID, 5);
    EXPECT_FALSE(w->txtNoteProfession->toPlainText().isEmpty());
    EXPECT_EQ(w->lstStat->count(), 2);
    EXPECT_EQ(w->txtRoyaume->text(), QStringLiteral("Essence"));

    w->TabInitchoises->setCurrentIndex(5);   // fighters and non-spell users
    ASSERT_EQ(w->lstProfession->count(), 3);
    EXPECT_EQ(w->lstProfession->itemText(0), QStringLiteral("Éclaireur"));
    EXPECT_EQ(p().Profession_ID, 11);
    EXPECT_TRUE(w->txtNoteProfession->toPlainText().isEmpty());   // a profession without a note
    w->lstProfession->setCurrentIndex(2);
    EXPECT_EQ(p().Profession_ID, 12);
    EXPECT_EQ(w->lstStat->count(), 3);   // the prime statistics query runs
    EXPECT_EQ(p().Royaume_ID, 7);

    // Back and forward again rebuilds the list and rewrites the profession.
    w->btnPrevious_Click();
    EXPECT_EQ(w->PageTag(), QStringLiteral("3003"));
    EXPECT_FALSE(w->picRace->isHidden());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Personnage 1 (") + Strings::Load(3005) + QStringLiteral(")"));
    toProfessions();
    EXPECT_EQ(p().Profession_ID, 1);
    EXPECT_EQ(p().Royaume_ID, 5);
}

TEST_F(InitChoiseTest, RealmOfChoiceAsksTheRealmBeforeTheStatistics)
{
    toProfessions();
    w->TabInitchoises->setCurrentIndex(5);
    w->lstProfession->setCurrentIndex(1);   // Guerrier: the player chooses the realm
    ASSERT_EQ(p().Royaume_ID, 8);

    {
        // Ended without OK: the page stays, and realm mode is not left on.
        ModalDriver driver;
        driver.then([](QWidget *m) {
            auto *chooser = qobject_cast<frmArmeAdolescence *>(m);
            ASSERT_NE(chooser, nullptr);
            chooser->done(QDialog::Rejected);
        });
        w->btnNext_Click();
        EXPECT_TRUE(driver.allStepsRan());
    }
    EXPECT_EQ(p().Royaume_ID, 8);
    EXPECT_FALSE(ModGeneral::WeaponAdolescenceShown);
    EXPECT_FALSE(w->isUnloaded());
    EXPECT_EQ(StatChoiceForms.peek(n), nullptr);

    std::vector<qint32> listed;
    bool realmMode = false;
    ModalDriver driver;
    driver.then([&](QWidget *m) {
        auto *chooser = qobject_cast<frmArmeAdolescence *>(m);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), Strings::Load(2022));
        EXPECT_EQ(chooser->lstArme->count(), 3);
        realmMode = chooser->RealmMode() && ModGeneral::WeaponAdolescenceShown;
        listed = chooser->ItemNumber;
        chooser->lstArme->setCurrentIndex(2);
        chooser->btnOk->click();
    });
    w->btnNext_Click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_TRUE(realmMode);
    EXPECT_EQ(listed, (std::vector<qint32>{2, 5, 7}));
    EXPECT_EQ(p().Royaume_ID, 7);
    EXPECT_FALSE(ModGeneral::WeaponAdolescenceShown);
    EXPECT_EQ(ui->count(Kind::ChooseOne), 0);   // the chooser window itself, not a list made on the side

    auto *stats = qobject_cast<frmStatChoises *>(StatChoiceForms.peek(n));
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->Number(), n);
    EXPECT_EQ(stats->windowTitle(), QStringLiteral("Personnage 1 (") + Strings::Load(5026) + QStringLiteral(")"));
    EXPECT_TRUE(stats->Statistics[9]->font().bold());   // the profession's primes are marked
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(p().Profession_ID, 10);   // the record stays as the pages filled it
    EXPECT_EQ(p().Culture_ID, 1);
}

} // namespace
