#pragma once
// Shared set-up of the skill development window's tests: the built rules
// database, French texts, a scripted user and one character of culture 1,
// race 1 and profession 11 (realm 2) with its adolescence ranks.
#include "support/RulesDb.h"
#include "support/StageStandIns.h"
#include "frame/FrameFixture.h"

#include "character/CharacterSamples.h"
#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "skilldev/frmSkillDev.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGroupBox>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <memory>
#include <sqlite3.h>

class SkillDevFixture : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        stagestandins::Install();
        ModGeneral::RedimPlayer();
        samples::ofSampleRules(player(), QStringLiteral("Brune"), 11, 2);
        samples::sampleStats(player());
        ui->allowUnused();
    }
    void TearDown() override
    {
        window.reset();
        skilldev::ResetHooks();
        FrameFixture::TearDown();
    }

    Personnage &player() { return ModGeneral::Players(1); }

    // Reopens the rules as a copy of the built file that `sql` has changed.
    void changeRules(const char *sql)
    {
        testrules::OpenChangedMaster(tempPath(QStringLiteral("rules.dat")), sql);
    }

    // Gives the character its adolescence ranks (the progress window is only recorded).
    void adolescence() { player().Adolescence(); }

    // A window filled for character 1 with the given markers already set.
    frmSkillDev *open(const QString &mode = QString(), const QString &ranks = QString(), const QString &stage = QString())
    {
        window = std::make_unique<frmSkillDev>();
        window->setTag(QStringLiteral("1"));
        ModGeneral::SkillDevMode = mode;
        window->setRanksMarker(ranks);
        if (!stage.isNull())
            window->setStageMarker(stage);
        window->LoadData();
        return window.get();
    }

    QTreeWidgetItem *node(const QString &key) const { return window->NodeByKey(key); }
    QStringList topKeys() const
    {
        QStringList keys;
        for (int i = 0; i < window->trvSkillCategorie->topLevelItemCount(); ++i)
            keys << frmSkillDev::NodeKey(window->trvSkillCategorie->topLevelItem(i));
        return keys;
    }
    QStringList childKeys(const QString &key) const
    {
        QStringList keys;
        if (QTreeWidgetItem *n = node(key))
            for (int i = 0; i < n->childCount(); ++i)
                keys << frmSkillDev::NodeKey(n->child(i));
        return keys;
    }
    // Shows a node as a click on it would.
    void show(const QString &key)
    {
        QTreeWidgetItem *n = node(key);
        ASSERT_NE(n, nullptr) << key.toStdString();
        window->trvSkillCategorie_NodeClick(n);
    }
    // Ticks or unticks a rank box as the player would.
    void click(QCheckBox *box) { box->click(); }
    int pd() const { return window->labPD->text().toInt(); }
    int messages() { return ui->count(ScriptedPorts::Kind::MsgBox); }

    std::unique_ptr<frmSkillDev> window;
};
