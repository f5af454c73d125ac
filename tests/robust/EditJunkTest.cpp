// Junk typed into every box of every window, every list position picked and
// every check box ticked and unticked, on a real character: the windows say
// what is wrong at most once per action, never fail with a run-time error,
// and leave the record usable and savable.
#include "robust/RobustFixture.h"

#include "background/frmArmeAdolescence.h"
#include "background/frmBackground.h"
#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "background/frmTalentsCost.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "frame/ui/frmOptions.h"
#include "frame/ui/frmSplash.h"
#include "frame/ui/frmStatuBar.h"
#include "mainwindow/frmMain.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmInitChoise.h"
#include "newcharacter/frmStatChoises.h"
#include "newcharacter/frmStatGain.h"
#include "newcharacter/frmStatGainRolls.h"
#include "print/SharedPrinter.h"
#include "print/frmPrint.h"
#include "print/frmPrintOption.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"

#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>

#include <QTreeWidget>

namespace {

TEST_F(RobustFixture, SheetTakesJunkInEveryBox)
{
    frmGeneral sheet;
    sheet.setTag(QString::number(n));
    sheet.LoadData();
    EXPECT_EQ((*junk)->errors, 0) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    robust::Sweeper s = MakeSweeper();
    s.Run(&sheet, QStringLiteral("frmGeneral"));
    EXPECT_GT(s.actions, 500);
    // Loading again shows what the record holds now, without complaint.
    sheet.LoadData();
    EXPECT_EQ((*junk)->errors, 0) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    ExpectSavesWhole(QStringLiteral("sheet"));
    // Text that is no figure is the player's: it is kept whole, NUL and all.
    const QStringList texts = robust::JunkTexts();
    sheet.txtNom->setText(texts[texts.size() - 3]);
    sheet.txtCheveux->setText(texts[texts.size() - 4]);
    sheet.txtYeux->setText(texts[texts.size() - 2]);
    sheet.txtHistorique->setPlainText(texts[texts.size() - 4] + texts[texts.size() - 3]);
    EXPECT_EQ(Hero().Nom, texts[texts.size() - 3]);
    ExpectSavesWhole(QStringLiteral("sheet-texts"));
}

TEST_F(RobustFixture, SkillDevelopmentTakesJunkOnEveryKindOfNode)
{
    CloseDialogsAtOnce();
    frmSkillDev dev;
    dev.setTag(QString::number(n));
    dev.LoadData();
    ASSERT_EQ((*junk)->errors, 0) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    robust::Sweeper s = MakeSweeper();
    // A category, a plain skill, a language and a node of each other kind the tree has.
    QStringList shown;
    for (const QString &prefix : {QStringLiteral("SC"), QStringLiteral("SK"), QStringLiteral("SL"),
                                  QStringLiteral("SW"), QStringLiteral("SP"), QStringLiteral("SS")}) {
        for (int i = 1; i <= dev.NodeCount(); ++i) {
            QTreeWidgetItem *node = dev.Node(i);
            const QString key = frmSkillDev::NodeKey(node);
            if (!key.startsWith(prefix))
                continue;
            s.act(QStringLiteral("show ") + key, [&] { dev.trvSkillCategorie_NodeClick(node); });
            s.Run(&dev, QStringLiteral("frmSkillDev[") + key + QLatin1Char(']'));
            shown << key;
            break;
        }
    }
    EXPECT_GE(shown.size(), 3) << shown.join(QLatin1Char(' ')).toStdString();
    ExpectSavesWhole(QStringLiteral("skilldev"));
}

TEST_F(RobustFixture, NewCharacterStepsTakeJunk)
{
    CloseDialogsAtOnce();
    Dice::setRolls(std::vector<int>(400, 5));
    robust::Sweeper s = MakeSweeper();

    // Culture and race, then profession: every list position on both pages.
    {
        auto *init = new frmInitChoise;
        InitForms.put(n, init);
        init->setTag(QString::number(n));
        init->optSex[0]->setChecked(true);
        s.Run(init, QStringLiteral("frmInitChoise[cultures]"));
        for (int r = 0; r < init->lstRace->count(); ++r)
            s.act(QStringLiteral("race #%1").arg(r), [&] { init->lstRace->setCurrentRow(r); });
        s.act(QStringLiteral("next page"), [&] { init->btnNext_Click(); });
        s.Run(init, QStringLiteral("frmInitChoise[professions]"));
        for (int t = 0; t < init->TabInitchoises->count(); ++t) {
            s.act(QStringLiteral("tab %1").arg(t), [&] { init->TabInitchoises->setCurrentIndex(t); });
            s.Run(init, QStringLiteral("frmInitChoise[tab %1]").arg(t));
        }
        InitForms.clear();
        flushDeletes();
    }
    RealCharacter(Hero());

    // Statistics: the pool's dice and then the potentials.
    {
        auto *stats = new frmStatChoises;
        StatChoiceForms.put(n, stats);
        stats->setTag(QString::number(n));
        stats->LoadData();
        s.Run(stats, QStringLiteral("frmStatChoises[temporary]"));
        for (QLineEdit *die : stats->tbDieRollT)
            die->setText(QStringLiteral("5"));
        s.act(QStringLiteral("to potentials"), [&] { stats->btnNext_Click(); });
        s.Run(stats, QStringLiteral("frmStatChoises[") + stats->Phase() + QLatin1Char(']'));
        StatChoiceForms.clear();
        flushDeletes();
    }
    // Next with junk left in a die, then in a potential: refused with a
    // message or taken as a figure the record can hold.
    for (const QString &j : robust::JunkTexts() + QStringList{"0", "-5", "150", "32767", "-32768"}) {
        for (int phase = 0; phase < 2; ++phase) {
            RealCharacter(Hero());
            s.act(QStringLiteral("frmStatChoises Next (%1) with \"").arg(phase) + j.left(12) + QLatin1Char('"'), [&] {
                auto *stats = new frmStatChoises;
                StatChoiceForms.put(n, stats);
                stats->setTag(QString::number(n));
                stats->LoadData();
                for (QLineEdit *die : stats->tbDieRollT)
                    die->setText(QStringLiteral("5"));
                if (phase == 0) {
                    stats->tbDieRollT[3]->setText(j);
                    stats->btnNext_Click();
                } else {
                    stats->btnNext_Click();
                    for (int i = 0; i < 10; ++i)
                        stats->txtStatisticsP[i]->setText(stats->txtStatisticsT[i]->text());
                    stats->txtStatisticsP[3]->setText(j);
                    stats->btnNext_Click();
                }
                StatChoiceForms.clear();
                SkillDevForms.clear();
                flushDeletes();
            });
        }
    }
    RealCharacter(Hero());

    // Identity: junk in every box, then OK; the record keeps usable figures.
    {
        frmCharacter identity;
        setTag(&identity, QString::number(n));
        identity.LoadData();
        s.Run(&identity, QStringLiteral("frmCharacter"));
        for (QLineEdit *e : identity.findChildren<QLineEdit *>()) {
            if (!e->isEnabled() || e->isReadOnly())
                continue;
            for (const QString &j : robust::JunkTexts()) {
                s.act(QStringLiteral("frmCharacter OK with ") + e->objectName() + QStringLiteral(" \"") + j.left(12) + QLatin1Char('"'), [&] {
                    frmCharacter again;
                    setTag(&again, QString::number(n));
                    again.LoadData();
                    again.findChild<QLineEdit *>(e->objectName())->setText(j);
                    again.bntOk_Click();
                });
            }
        }
    }
    RealCharacter(Hero());

    // Statistic gains: the choice, and the rolls with junk dice computed after each.
    {
        frmStatGain gain;
        gain.labChoix->setText(QStringLiteral("2"));
        setTag(&gain, QString::number(n));
        gain.LoadData();
        s.Run(&gain, QStringLiteral("frmStatGain"));

        frmStatGainRolls rolls;
        setTag(&rolls, QString::number(n));
        rolls.LoadData();
        s.after = [&rolls] { rolls.bntCalcul_Click(); };
        s.Run(&rolls, QStringLiteral("frmStatGainRolls"));
        for (QLineEdit *e : rolls.txtDie)
            for (const QString &j : robust::JunkTexts())
                s.act(QStringLiteral("rolls OK with ") + e->objectName() + QStringLiteral(" \"") + j.left(12) + QLatin1Char('"'), [&] {
                    RealCharacter(Hero());
                    frmStatGainRolls again;
                    setTag(&again, QString::number(n));
                    again.LoadData();
                    again.findChild<QLineEdit *>(e->objectName())->setText(j);
                    again.btnOk_Click();
                });
        s.after = nullptr;
    }
    ExpectSavesWhole(QStringLiteral("newcharacter"));
}

TEST_F(RobustFixture, BackgroundWindowsTakeJunk)
{
    CloseDialogsAtOnce();
    Dice::setRolls(std::vector<int>(400, 50));
    robust::Sweeper s = MakeSweeper();
    Hero().PointsBO = 5;
    const QString number = QString::number(n);

    frmBackground bg;
    setTag(&bg, number);
    bg.LoadData();
    s.Run(&bg, QStringLiteral("frmBackground"));
    for (int r = 0; r < bg.lstSkill->count(); r += 17)
        s.act(QStringLiteral("bonus skill %1").arg(r), [&] {
            bg.lstSkill->setCurrentRow(r);
            bg.btnSelectSkill_Click();
        });
    s.act(QStringLiteral("bonus category"), [&] { bg.btnSelectSkillCat_Click(); });
    s.act(QStringLiteral("background OK"), [&] { bg.btnOk_Click(); });

    {
        frmTalentsCost cost;
        setTag(&cost, number);
        s.Run(&cost, QStringLiteral("frmTalentsCost"));
    }
    for (const char *code : {"1", "2", "7"}) {
        frmTalents talents;
        setTag(talents.grdTalent, QString::fromLatin1(code));
        setTag(&talents, number);
        talents.LoadData();
        s.Run(&talents, QStringLiteral("frmTalents"));
        for (int r = 0; r < talents.grdTalent->rowCount(); ++r)
            s.act(QStringLiteral("talent row %1").arg(r), [&] { talents.grdTalent->setCurrentCell(r, 1); });
    }
    {
        frmSpecialItem item;
        setTag(&item, number);
        s.after = [&item] { item.btnRandom_Click(); };
        s.Run(&item, QStringLiteral("frmSpecialItem"));
        s.after = nullptr;
        for (const QString &j : robust::JunkTexts())
            s.act(QStringLiteral("special item OK with \"") + j.left(12) + QLatin1Char('"'), [&] {
                frmSpecialItem again;
                setTag(&again, number);
                again.txtJetDe->setText(j);
                again.btnOk_Click();
            });
    }
    {
        frmSpecialItemChoose choose;
        setTag(&choose, number);
        s.Run(&choose, QStringLiteral("frmSpecialItemChoose"));
    }
    for (qint16 mode : {qint16(166), qint16(49), qint16(226), qint16(0)}) {
        Hero().PointsBO = mode;
        frmArmeAdolescence chooser;
        setTag(&chooser, number);
        chooser.LoadData();
        s.Run(&chooser, QStringLiteral("frmArmeAdolescence[%1]").arg(mode));
    }
    Hero().PointsBO = 0;
    {
        frmWeaponChoises order;
        setTag(&order, number);
        order.SkillCost();
        s.Run(&order, QStringLiteral("frmWeaponChoises"));
        for (int r = 0; r < order.lstCategorie->count(); ++r)
            s.act(QStringLiteral("order row %1").arg(r), [&] {
                order.lstCategorie->setCurrentRow(r);
                order.btnUp_Click(r % 2);
            });
        s.act(QStringLiteral("order OK"), [&] { order.btnOk_Click(); });
    }
    {
        QWidget stage;
        auto *pd = new QLabel(QStringLiteral("20"), &stage);
        pd->setObjectName(QStringLiteral("labPD"));
        (new QLabel(&stage))->setObjectName(QStringLiteral("labTraining"));
        (new QLabel(&stage))->setObjectName(QStringLiteral("labTrainingCost"));
        frmTraining training;
        training.Target = &stage;
        setTag(&training, number);
        training.LoadData();
        for (int kind = 0; kind < 2; ++kind) {
            s.act(QStringLiteral("training kind %1").arg(kind), [&] { training.optTraning[kind]->setChecked(true); });
            s.Run(&training, QStringLiteral("frmTraining[%1]").arg(kind));
        }
        s.act(QStringLiteral("training buy"), [&] { training.btnTrainingPack_Click(); });
        s.act(QStringLiteral("training buy again"), [&] { training.btnTrainingPack_Click(); });
    }
    ExpectSavesWhole(QStringLiteral("background"));
}

TEST_F(RobustFixture, FrameAndPrintWindowsTakeJunk)
{
    CloseDialogsAtOnce();
    robust::Sweeper s = MakeSweeper();
    {
        frmSplash splash;
        s.Run(&splash, QStringLiteral("frmSplash"));
        frmStatuBar bar;
        s.Run(&bar, QStringLiteral("frmStatuBar"));
        frmOptions options;
        s.Run(&options, QStringLiteral("frmOptions"));
    }
    {
        frmMain main;
        s.Run(&main, QStringLiteral("frmMain"));
    }
    {
        QTemporaryDir dir;
        QPrinter &printer = SharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("apercu.pdf")));
        frmPrint preview;
        preview.setTag(QString::number(n));
        preview.Voir();
        s.Run(&preview, QStringLiteral("frmPrint"));
        for (const char *key : {"Zoom", "Page"})
            for (int i = 0; i < 6; ++i)
                s.act(QStringLiteral("preview %1 %2").arg(QLatin1String(key)).arg(i),
                      [&] { preview.tbPrint_ButtonMenuClick(QLatin1String(key), i); });
        for (int v : {-100000, 0, 100000})
            s.act(QStringLiteral("scroll %1").arg(v), [&] { preview.DefilementV1->setValue(v); });
        frmPrintOption option;
        option.setTag(QString::number(n));
        s.act(QStringLiteral("print option"), [&] { option.exec(); });
    }
    ExpectSavesWhole(QStringLiteral("frame"));
}

} // namespace
