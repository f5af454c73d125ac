// Renders every new-character window, in French and in English, into a picture
// when QV_NEWCHAR_GRAB names a folder, so that captions and layouts can be
// looked at; otherwise checks that each window draws and that its captions were
// replaced by texts of the interface language.
#include "NewCharFixture.h"

#include "background/frmArmeAdolescence.h"
#include "character/Players.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmInitChoise.h"
#include "newcharacter/frmStatChoises.h"
#include "newcharacter/frmStatGain.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"
#include "support/Readable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace {

class NewCharLookTest : public NewCharFixture, public ::testing::WithParamInterface<Strings::Language> {
protected:
    void SetUp() override
    {
        NewCharFixture::SetUp();
        Strings::setLanguage(GetParam());
        n = newCharacter();
        Personnage &p = ModGeneral::Players(n);
        p.Nom = QStringLiteral("Ayla");
        for (int i = 0; i < 10; ++i) {
            p.AddStat(0, static_cast<qint16>(i), static_cast<qint16>(50 + i));
            p.AddStat(1, static_cast<qint16>(i), static_cast<qint16>(80 + i));
        }
    }
    void TearDown() override
    {
        Strings::setLanguage(Strings::Language::French);
        NewCharFixture::TearDown();
    }
    QString suffix() const { return GetParam() == Strings::Language::French ? QStringLiteral("-fr") : QStringLiteral("-en"); }
    void look(QWidget *w, const QString &name, QSize size = QSize())
    {
        if (size.isValid())
            w->resize(size);
        else
            w->adjustSize();
        const QPixmap pm = w->grab();
        EXPECT_FALSE(pm.isNull()) << name.toStdString();
        const QStringList faults = readable::Faults(w);
        EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << suffix().toStdString() << ":\n"
                                      << faults.join(QLatin1Char('\n')).toStdString();
        const QByteArray dir = qgetenv("QV_NEWCHAR_GRAB");
        if (!dir.isEmpty())
            pm.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + suffix() + QStringLiteral(".png")));
    }
    int n = 0;
};

TEST_P(NewCharLookTest, EveryWindowShowsTheTextsOfItsLanguage)
{
    const QSize page(1280, 800);
    auto *init = new frmInitChoise;
    init->setTag(QString::number(n));
    init->optSex[0]->setChecked(true);
    init->setWindowTitle(QStringLiteral("Ayla (") + Strings::Load(3006) + QStringLiteral(")"));
    EXPECT_EQ(init->optSex[0]->text(), Strings::Load(3016));
    EXPECT_EQ(init->optSex[1]->text(), Strings::Load(3017));
    look(init, QStringLiteral("frmInitChoise-cultures"), page);
    init->TabInitchoises->setCurrentIndex(1);
    look(init, QStringLiteral("frmInitChoise-races"), page);
    init->TabInitchoises->setCurrentIndex(0);
    init->btnNext_Click();
    EXPECT_EQ(init->labCaract->text(), Strings::Load(3041));
    EXPECT_EQ(init->labRoyaume->text(), Strings::Load(2022));
    EXPECT_EQ(init->labListe->text(), Strings::Load(2019));
    look(init, QStringLiteral("frmInitChoise-professions"), page);
    delete init;

    ModGeneral::WeaponAdolescenceShown = true;
    frmArmeAdolescence realms;
    setTag(&realms, QString::number(n));
    realms.LoadData();
    EXPECT_EQ(realms.windowTitle(), Strings::Load(2022));
    EXPECT_EQ(realms.lstArme->count(), 3);
    look(&realms, QStringLiteral("frmArmeAdolescence-realm"));
    ModGeneral::WeaponAdolescenceShown = false;

    frmStatChoises stats;
    stats.setTag(QString::number(n));
    stats.setWindowTitle(QStringLiteral("Ayla (") + Strings::Load(5026) + QStringLiteral(")"));
    stats.LoadData();
    EXPECT_EQ(stats.labCarateristique->text(), Strings::Load(3042));
    EXPECT_EQ(stats.lbText[0]->text(), Strings::Load(5004));
    EXPECT_EQ(stats.btnRandom[0]->text(), Strings::Load(3501));
    look(&stats, QStringLiteral("frmStatChoises-temporary"), page);
    // The scale figures stand over their values on the sliders: 10 at the
    // slider's left end, then evenly spaced.
    auto centre = [&](int i) {
        return stats.labchiffre[i]->mapTo(&stats, stats.labchiffre[i]->rect().center()).x()
            - stats.sldStatistics[0]->mapTo(&stats, QPoint(0, 0)).x();
    };
    EXPECT_LE(centre(0), 14);
    const int step = centre(1) - centre(0);
    EXPECT_GT(step, 20);
    for (int i = 1; i < 10; ++i)
        EXPECT_NEAR(centre(i) - centre(i - 1), step, 2) << i;
    stats.btnNext_Click();
    ASSERT_EQ(stats.Phase(), QStringLiteral("Potentiel"));
    stats.btnRandom_Click(1);
    EXPECT_EQ(stats.labCarateristique->text(), Strings::Load(3043));
    look(&stats, QStringLiteral("frmStatChoises-potential"), page);

    frmCharacter identity;
    setTag(&identity, QString::number(n));
    identity.setWindowTitle(Strings::Load(3541));
    identity.LoadData();
    EXPECT_EQ(identity.labNom->text(), Strings::Load(3050));
    EXPECT_EQ(identity.Label1->text(), Strings::Load(3027));
    look(&identity, QStringLiteral("frmCharacter"));

    frmStatGain choice;
    choice.ckStat[3]->setChecked(true);
    choice.ckStat[3]->setEnabled(false);
    choice.labChoix->setText(QStringLiteral("2"));
    setTag(&choice, QString::number(n));
    choice.LoadData();
    EXPECT_EQ(choice.windowTitle(), Strings::Load(5065));
    EXPECT_EQ(choice.labChoix->text(), QStringLiteral("2 ") + Strings::Load(3591));
    EXPECT_FALSE(choice.ckStat[0]->text().isEmpty());
    look(&choice, QStringLiteral("frmStatGain"));
    {
        // A title bar as wide as the dialog shows its whole caption.
        QStyleOptionTitleBar bar;
        bar.initFrom(&choice);
        bar.rect = QRect(0, 0, choice.width(), 24);
        bar.text = choice.windowTitle();
        bar.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        const QRect label = choice.style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel);
        const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
        EXPECT_GE(label.width(), title.horizontalAdvance(choice.windowTitle()));
    }

    frmStatGainRolls rolls;
    rolls.DisableRow(4);
    setTag(&rolls, QString::number(n));
    rolls.LoadData();
    rolls.setWindowTitle(QStringLiteral("Ayla (") + Strings::Load(5006) + QStringLiteral(")"));
    EXPECT_EQ(rolls.bntCalcul->text(), Strings::Load(3508));
    EXPECT_EQ(rolls.lbText[2]->text(), Strings::Load(3506));
    rolls.txtDie[0]->setText(QStringLiteral("4"));
    rolls.txtDie[10]->setText(QStringLiteral("7"));
    rolls.bntCalcul_Click();
    look(&rolls, QStringLiteral("frmStatGainRolls"));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, NewCharLookTest,
                         ::testing::Values(Strings::Language::French, Strings::Language::English));

} // namespace
