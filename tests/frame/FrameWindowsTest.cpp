// The frame's small windows: splash box, progress window, options dialog.
#include "FrameFixture.h"

#include "frame/ui/frmOptions.h"
#include "frame/ui/frmSplash.h"
#include "frame/ui/frmStatuBar.h"
#include "mainwindow/QtPorts.h"
#include "support/ModalDriver.h"
#include "support/Readable.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using SplashTest = FrameFixture;

TEST_F(SplashTest, ShowsTitleVersionAndTheProgramsTexts)
{
    frmSplash splash;
    EXPECT_EQ(splash.lblProductName->text(), Strings::Load(1104) + QStringLiteral(" (3.0.41)"));
    EXPECT_EQ(splash.lblCompany->text(), Strings::Load(1101));
    EXPECT_EQ(splash.lblContact->text(), Strings::Load(1102));
    EXPECT_EQ(splash.lblWeb->text(), Strings::Load(1103));
    EXPECT_EQ(splash.lblWarning->text(), Strings::Load(1110));
    EXPECT_EQ(splash.labinfo->text(), Strings::Load(1111));
    EXPECT_FALSE(splash.lblCopyright->text().isEmpty());
}

TEST_F(SplashTest, ClosesOnOkAndOnAnyKey)
{
    {
        frmSplash splash;
        ModalDriver driver;
        driver.then([](QWidget *w) { static_cast<frmSplash *>(w)->btnOk->click(); });
        EXPECT_EQ(splash.exec(), QDialog::Accepted);
        EXPECT_TRUE(driver.allStepsRan());
    }
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_F5}) {
        frmSplash splash;
        ModalDriver driver;
        driver.then([key](QWidget *w) { QTest::keyClick(static_cast<frmSplash *>(w)->btnOk, key); });
        EXPECT_EQ(splash.exec(), QDialog::Accepted) << key;
        EXPECT_EQ(driver.rescued(), 0);
    }
}

TEST_F(SplashTest, TheSmallWindowsAreReadableInBothLanguages)
{
    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(lang);
        frmSplash splash;
        frmStatuBar bar;
        frmOptions options;
        for (QWidget *w : std::initializer_list<QWidget *>{&splash, &bar, &options}) {
            w->adjustSize();
            const QStringList faults = readable::Faults(w);
            EXPECT_TRUE(faults.isEmpty()) << w->objectName().toStdString() << ":\n"
                                          << faults.join(QLatin1Char('\n')).toStdString();
        }
    }
}

using ProgressTest = FrameFixture;

TEST_F(ProgressTest, LayoutTextsAreLocalisedAndValuesStayInRange)
{
    frmStatuBar bar;
    EXPECT_EQ(bar.windowTitle(), Strings::Load(3502));
    EXPECT_EQ(bar.capStatus->text(), Strings::Load(4001));
    EXPECT_EQ(bar.prbData->maximum(), 100);
    bar.Begin(QString(), QString(), 100);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.capStatus->text(), Strings::Load(4001));
    bar.SetValue(140);
    EXPECT_EQ(bar.prbData->value(), 100);
    bar.SetValue(-3);
    EXPECT_EQ(bar.prbData->value(), 0);
}

TEST_F(ProgressTest, AnUnfinishedLoadLeavesTheWindowForTheNextToTakeOver)
{
    QtPorts qt;
    qt.ProgressShow(Strings::Load(3502), Strings::Load(4001), 100);
    frmStatuBar *first = qt.progressWindow();
    ASSERT_NE(first, nullptr);
    qt.ProgressValue(40);
    // No close: the next load reuses the window and starts it again.
    qt.ProgressShow(QStringLiteral("Autre"), QString(), 50);
    EXPECT_EQ(qt.progressWindow(), first);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Autre"));
    EXPECT_EQ(first->prbData->maximum(), 50);
    EXPECT_EQ(first->prbData->value(), 0);
    qt.ProgressClose();
    EXPECT_EQ(qt.progressWindow(), nullptr);
    qt.ProgressValue(3);   // nothing up: nothing happens
}

using OptionsTest = FrameFixture;

TEST_F(OptionsTest, ApplyKeepsTheDialogOpenAndOkClosesItAfterItsMessage)
{
    frmOptions dlg;
    dlg.show();
    ui->answerMsgBox(ports::Ok, QStringLiteral("Apply Code goes here"));
    dlg.cmdApply->click();
    EXPECT_TRUE(dlg.isVisible());
    ui->answerMsgBox(ports::Ok, QStringLiteral("Code goes here to set options and close dialog!"));
    dlg.cmdOK->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dlg.cmdCancel->text(), QStringLiteral("Cancel"));
}
