#pragma once
// Robustness tests: the real rules database, a developed character of the
// sample rules in slot 1, a user that answers everything by itself and a
// closer for any dialog a window opens of its own accord.
#include "character/Players.h"
#include "newcharacter/NewCharFixture.h"
#include "robust/JunkSweep.h"

#include "frame/ui/LoadFormStrings.h"
#include "skilldev/frmSkillDev.h"
#include "support/StageStandIns.h"

#include <QFileInfo>

class RobustFixture : public NewCharFixture {
protected:
    void SetUp() override
    {
        NewCharFixture::SetUp();
        stagestandins::Install();
        junk = std::make_unique<robust::JunkPortsScope>();
        n = newCharacter();
        RealCharacter(Hero());
    }
    void TearDown() override
    {
        junk.reset();
        closer.reset();
        skilldev::ResetHooks();
        Dice::clearScript();
        NewCharFixture::TearDown();
    }

    Personnage &Hero() { return ModGeneral::Players(n); }

    // A character as the new-character steps leave it: culture, race,
    // profession and realm of the sample rules, statistics, identity, the
    // upbringing's ranks, and a first level's purchases moved in.
    static void RealCharacter(Personnage &p)
    {
        p.Nom = QStringLiteral("Aldric");
        p.Culture_ID = 1;
        p.Race_ID = 1;
        p.Profession_ID = 1;
        p.Royaume_ID = 5;
        p.Sexe = true;
        p.Age = 19;
        p.Grandeur = 1.8f;
        p.Poids = 72.5f;
        p.Apparence = 55;
        p.Cheveux = QStringLiteral("bruns");
        p.Yeux = QStringLiteral("verts");
        p.Experience = 10000;
        p.Money = 123456;
        p.Armure = 2;
        p.Bouclier = 1;
        p.Casque = 10;
        p.Historique = QStringLiteral("Né au port.");
        const qint16 temporary[10] = {70, 55, 60, 48, 52, 90, 66, 40, 75, 65};
        for (qint16 s = 0; s < 10; ++s) {
            p.AddStat(0, s, temporary[s]);
            p.AddStat(1, s, qint16(temporary[s] + 8));
        }
        for (qint16 k = 0; k < 7; ++k)
            p.AddCategorieWeapon(k, qint16(49 + k));
        p.Adolescence();
        p.AddDevelopment(RankKind::Skill, 81, 0, 1, 0);
        p.AddDevelopment(RankKind::SkillCategory, 2, 0, 1, 0);
        p.TranferRank();
    }

    // The sweep's check after every action.
    std::function<void(const QString &)> Check()
    {
        return [this](const QString &what) { robust::ExpectUsableRecord(Hero(), what); };
    }

    // Saves the character and reads it back: whatever the sweep left must
    // survive the character file.
    void ExpectSavesWhole(const QString &what)
    {
        SCOPED_TRACE(what.toStdString());
        const int errors = (*junk)->errors;
        Personnage &p = Hero();
        p.FileName = tempPath(what + QStringLiteral(".pja"));
        p.SaveP();
        ASSERT_TRUE(QFileInfo::exists(p.FileName));
        Personnage back;
        back.FileName = p.FileName;
        EXPECT_TRUE(back.LoadP());
        EXPECT_EQ(back.Nom, p.Nom);
        EXPECT_EQ(back.Cheveux, p.Cheveux);
        EXPECT_EQ(back.Yeux, p.Yeux);
        EXPECT_EQ(back.Historique.toString(), p.Historique.toString());
        EXPECT_EQ(back.Age, p.Age);
        EXPECT_EQ(back.Grandeur, p.Grandeur);
        EXPECT_EQ(back.Poids, p.Poids);
        EXPECT_EQ(back.Apparence, p.Apparence);
        EXPECT_EQ(back.Armure, p.Armure);
        EXPECT_EQ(back.Bouclier, p.Bouclier);
        EXPECT_EQ(back.Casque, p.Casque);
        EXPECT_EQ(back.Experience, p.Experience);
        EXPECT_EQ(back.Money, p.Money);
        EXPECT_EQ(back.NbSkill, p.NbSkill);
        for (qint16 s = 0; s < 10; ++s)
            EXPECT_EQ(back.DirStats(2, s), p.DirStats(2, s)) << s;
        EXPECT_EQ((*junk)->errors, errors) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    }

    robust::Sweeper MakeSweeper() { return robust::Sweeper(**junk, Check()); }
    void CloseDialogsAtOnce() { closer = std::make_unique<robust::ModalCloser>(); }

    int n = 0;
    std::unique_ptr<robust::JunkPortsScope> junk;
    std::unique_ptr<robust::ModalCloser> closer;
};
