#pragma once
// The character sheet under test: a small rules database made from
// tests/fixtures/sheet.sql (with per-test changes), a French interface in a
// French-Canadian locale, a scripted user, and one character in slot 1.
#include "support/RulesDb.h"
#include "character/PersonnageAccess.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "sheet/frmGeneral.h"
#include "support/ScriptedPorts.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

namespace sheettest {

// Statistic indexes.
enum : qint16 { AG, CO, Me, Re, SD, EM, In, Pr, Qu, ST };

// A character of race 1 whose temporary values give the bonuses
// AG 0, CO 2, Me 0, Re 0, SD -5, EM 5, In 3, Pr -2, Qu 0, ST 12; Body
// development 5 ranks (PdeC 25), Channeling points 4 ranks (PdeP 12), and a
// plate skill bonus of 25.
inline void MakeCharacter(Personnage &p)
{
    p.Nom = QStringLiteral("Aëlis");
    p.Race_ID = 1;
    p.Profession_ID = 1;
    p.Royaume_ID = 2;
    p.Experience = 55000;
    p.Age = 18.5f;
    p.Grandeur = 1.85f;
    p.Poids = 61.5f;
    p.Apparence = 7;
    p.Cheveux = QStringLiteral("auburn");
    p.Yeux = QStringLiteral("gris");
    p.Sexe = true;
    p.Historique = QStringLiteral("Née au bord du lac.");
    p.Money = 25000;
    p.Armure = 14;
    p.Bouclier = 3;
    p.Casque = 10;
    const qint16 temporary[10] = {50, 75, 50, 50, 10, 90, 80, 21, 50, 101};
    for (qint16 s = 0; s < 10; ++s) {
        p.AddStat(0, s, temporary[s]);
        p.AddStat(1, s, qint16(60 + s));
    }
    p.AddStat(2, AG, 1);
    p.AddStat(2, CO, 2);
    for (qint16 k = 1; k <= 9; ++k)
        p.AddResistanceSpecial(k, qint16(k - 3));
    PersonnageAccess::RedimSkill(p);
    const qint16 skills[3][3] = {{23, 5, 0}, {270, 4, 0}, {236, 0, 25}};
    for (qint16 r = 0; r < 3; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::Skill, skills[r][0]);
        p.AddSkill(Personnage::fRank, r, RankKind::Skill, skills[r][1]);
        p.AddSkill(Personnage::fSpecial1, r, RankKind::Skill, skills[r][2]);
    }
}

class SheetTest : public ::testing::Test {
protected:
    // extraSql runs on the fixture database before it is opened.
    void OpenRules(const char *extraSql = nullptr)
    {
        const QString path = m_dir.filePath(QStringLiteral("rules%1.dat").arg(m_count++));
        QFile f(QStringLiteral(QV_FIXTURES_DIR "/sheet.sql"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        // One transaction: building the file statement by statement syncs each one.
        QByteArray sql = "BEGIN;\n" + f.readAll();
        if (extraSql)
            sql += QByteArray("\n") + extraSql;
        sql += "\nCOMMIT;";
        testrules::Exec(path, sql, "sheet.sql");
        testrules::OpenAsRules(path);
    }

    void SetUp() override
    {
        Strings::setLanguage(Strings::Language::French);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
        ModGeneral::Players.clear();
        ModGeneral::Players.resize(1);
        ModGeneral::PlayerCount = 1;
        ModGeneral::DataLanguage = 5000;
        MakeCharacter(P());
    }

    void TearDown() override
    {
        sheet.reset();
        ModGeneral::DbMaster.Close();
        ModGeneral::DbMaster = dao::Database();
        ModGeneral::Players.clear();
        ModGeneral::PlayerCount = 0;
        QLocale::setDefault(QLocale::c());
    }

    Personnage &P() { return ModGeneral::Players(1); }

    // A fresh sheet for character 1, filled.
    frmGeneral &Load()
    {
        if (!sheet) {
            sheet = std::make_unique<frmGeneral>();
            sheet->setTag(QStringLiteral("1"));
        }
        sheet->LoadData();
        return *sheet;
    }

    // Types text into a box from empty, key by key, as the user would.
    static void Retype(QLineEdit *e, const QString &text)
    {
        e->clear();
        for (QChar c : text)
            e->setText(e->text() + c);
    }

    ScriptedPortsScope ui;
    std::unique_ptr<frmGeneral> sheet;

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

} // namespace sheettest
