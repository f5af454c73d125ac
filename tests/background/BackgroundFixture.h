#pragma once
// The background window tests: the sample rules database, the French tables,
// a scripted user and the stage links replaced by a recorder.
#include "background/frmBackground.h"
#include "character/Personnage.h"
#include "character/Players.h"
#include "character/RulesFixture.h"
#include "frame/Dice.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "support/ScriptedPorts.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

class BackgroundTest : public ::testing::Test {
protected:
    struct StageCall {
        int n;
        QString stage;
        qint16 ranks;
    };

    RulesFixture rules;   // the sample master.dat
    ScriptedPortsScope ui;
    std::vector<StageCall> stages;
    std::vector<int> statRolls;
    Strings::Language previous = Strings::current();

    void SetUp() override
    {
        Strings::setLanguage(Strings::Language::French);
        ModGeneral::Players.clear();
        ModGeneral::Players.resize(1);
        ModGeneral::WeaponAdolescenceShown = false;
        ModGeneral::SkillDevMode.clear();
        background::resetLinks();
        background::links().OpenStage = [this](int n, const QString &stage, qint16 ranks) {
            stages.push_back({n, stage, ranks});
        };
        background::links().StatGainRolls = [this](int n) { statRolls.push_back(n); };
        Dice::clearScript();
    }
    void TearDown() override
    {
        Dice::clearScript();
        background::resetLinks();
        ModGeneral::Players.clear();
        ModGeneral::WeaponAdolescenceShown = false;
        ModGeneral::SkillDevMode.clear();
        Strings::setLanguage(previous);
    }

    // Character 1, of the first race, with `points` background option points.
    Personnage &character(qint16 points)
    {
        Personnage &p = ModGeneral::Players(1);
        p.Nom = QStringLiteral("Ayla");
        p.Race_ID = 1;
        p.PointsBO = points;
        return p;
    }

    // The same with every temporary at 100 and Feats of Strength (category 1)
    // held with a special bonus of 32731, near the top of its total.
    Personnage &nearTheTop(qint16 points)
    {
        Personnage &p = character(points);
        for (qint16 s = 0; s <= 9; ++s)
            p.AddStat(0, s, 100);
        p.AddSkill(0, 0, 1, 1);
        p.AddSkill(3, 0, 1, 32731);
        return p;
    }
};

// The rows of a list widget as texts.
#include <QListWidget>
inline QStringList rowsOf(const QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}
